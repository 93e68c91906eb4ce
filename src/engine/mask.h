// The mask rule: whole-name wildcard matching with *, ? and [sets], letters
// A to Z without regard to case.
#pragma once

#include "core/error.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

namespace pylomir::engine {

// Raised when an invalid mask is used; its message is
// "'%s' is an invalid mask at (%d)".
class MaskError : public core::Error {
public:
    MaskError(const QString& mask, int position);
};

// One mask, compiled once. An invalid mask compiles to a marker that raises
// MaskError when matched, so the error surfaces exactly where it is used.
class Mask {
public:
    explicit Mask(const QString& text);
    bool isValid() const { return errorPos_ == 0; }
    const QString& text() const { return text_; }
    // Throws MaskError for an invalid mask.
    bool matches(QStringView name) const;
    // The 1-based position where the mask was found invalid (0 = valid).
    int errorPosition() const { return errorPos_; }

private:
    friend class MaskList;
    enum class Kind : quint8 { Literal, AnyChar, Set, Star };
    struct Element {
        Kind kind;
        bool negated = false;
        char16_t ch = 0;      // folded literal
        quint16 setBegin = 0; // range pairs in ranges_
        quint16 setEnd = 0;
    };
    void compile();
    bool matchOne(const Element& e, char16_t folded) const;
    bool matchFixed(size_t from, size_t to, QStringView name) const;
    bool matchStarred(QStringView name) const;
    // The folded first and last elements when they are literals (-1
    // otherwise), for the index of MaskList.
    int firstLiteral() const;
    int lastLiteral() const;
    // characterBits() of every literal: a name lacking one cannot match.
    quint64 literalBits() const;
    // The last four characters a name must end with, packed 16 bits each
    // (last character lowest), and which of them are fixed.
    void tailSignature(quint64& signature, quint64& fixed) const;

    QString text_;
    int errorPos_ = 0;
    // Without a '*' the whole mask is the head. Otherwise the elements before
    // the first '*' and after the last one match at fixed places; only the
    // part between two stars needs a search.
    size_t headEnd_ = 0;
    size_t tailBegin_ = 0;
    qsizetype minLength_ = 0; // elements other than '*'
    std::vector<Element> elements_;
    std::vector<char16_t> ranges_; // lo, hi pairs
};

// An ordered list of masks, compiled once per search, answering "does any
// mask match?" with the same result and the same error as trying the masks
// one by one in list order and stopping at the first match.
class MaskList {
public:
    MaskList() = default;
    explicit MaskList(const QStringList& masks);
    bool isEmpty() const { return masks_.empty(); }
    // True when some mask matches. Throws the MaskError of the first invalid
    // mask that comes before the first matching one.
    bool matchesAny(QStringView name) const;
    // Whether the list holds the entry "*.*" (compared ignoring case).
    bool holdsStarDotStar() const { return holdsStarDotStar_; }

private:
    // Masks ending (or else starting) with a literal are indexed by that
    // folded character; the rest, invalid markers included, are always tried.
    // Each index holds candidates in list order, so merging the three lists
    // of a name keeps that order. A candidate carries enough to turn most
    // names away without touching the mask itself.
    struct Candidate {
        quint64 signature;
        quint64 fixed;
        quint32 index;
        qsizetype minLength;
        quint64 needs = 0; // characterBits() of the mask's literals
    };
    using Candidates = std::vector<Candidate>;
    struct Index {
        std::vector<Candidates> ascii; // 128 buckets
        std::vector<std::pair<char16_t, Candidates>> other;
        const Candidates* find(char16_t c) const;
        void add(char16_t c, const Candidate& candidate);
    };
    std::vector<Mask> masks_;
    Index byLast_;
    Index byFirst_;
    Candidates always_;
    bool holdsStarDotStar_ = false;
};

// Folds letters a to z to upper case; nothing else changes.
inline char16_t foldAZ(char16_t c) {
    return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c;
}

// A 64-bit sketch of which folded characters occur: one bit per character,
// shared by characters alike in their low six bits.
inline quint64 characterBit(char16_t folded) {
    return quint64(1) << (folded & 63);
}

} // namespace pylomir::engine

// The mask rule: whole-name wildcard matching with *, ? and [sets], letters
// A to Z without regard to case.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <stdexcept>
#include <vector>

namespace pylomir::engine {

// Raised when an invalid mask is used.
class MaskError : public std::runtime_error {
public:
    MaskError(const QString& mask, int position);
    // "'%s' is an invalid mask at (%d)"
    const QString& message() const { return message_; }

private:
    QString message_;
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
    // Compiled form: the implementer's choice.
    QString text_;
    int errorPos_ = 0;
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
    // Index of masks: the implementer's choice.
    std::vector<Mask> masks_;
    bool holdsStarDotStar_ = false;
};

// Folds letters a to z to upper case; nothing else changes.
inline char16_t foldAZ(char16_t c) {
    return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c;
}

} // namespace pylomir::engine

#include "engine/mask.h"

namespace pylomir::engine {

namespace {

// Masks with more elements than this after a '*' are refused.
constexpr int maxElementsAfterStar = 30;

// One-pass arg(), so a '%' in the mask cannot be taken for a placeholder.
QString maskErrorText(const QString& mask, int position) {
    return QStringLiteral("'%1' is an invalid mask at (%2)").arg(mask, QString::number(position));
}

} // namespace

MaskError::MaskError(const QString& mask, int position)
    : core::Error(maskErrorText(mask, position)) {}

Mask::Mask(const QString& text) : text_(text) {
    compile();
}

// Elements are literal characters, '?' and sets; '*' is not counted. Only the
// elements after the first '*' count towards the limit, and a '?' that is
// dropped because it follows a '*' is not an element. Error positions are
// 1-based: the offending character, or one past the end for a set left open.
void Mask::compile() {
    const qsizetype n = text_.size();
    const auto at = [this](qsizetype i) { return text_[i].unicode(); };
    bool afterStar = false;
    bool rightAfterStar = false;
    int counted = 0;
    const auto fail = [this](qsizetype pos) {
        errorPos_ = int(pos);
        elements_.clear();
        ranges_.clear();
    };
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = at(i);
        const qsizetype start = i;
        if (c == u'*') {
            if (elements_.empty() || elements_.back().kind != Kind::Star)
                elements_.push_back({Kind::Star});
            afterStar = true;
            rightAfterStar = true;
            continue;
        }
        if (c == u'?') {
            if (rightAfterStar) {
                rightAfterStar = false;
                continue;
            }
            elements_.push_back({Kind::AnyChar});
        } else if (c == u'[') {
            qsizetype j = i + 1;
            Element set{Kind::Set};
            if (j < n && at(j) == u'!') {
                set.negated = true;
                ++j;
            }
            if (j >= n)
                return fail(n + 1);
            if (at(j) == u']' || at(j) == u'-')
                return fail(j + 1);
            set.setBegin = quint16(ranges_.size());
            while (j < n && at(j) != u']') {
                const char16_t lo = foldAZ(at(j));
                char16_t hi = lo;
                if (j + 2 < n && at(j + 1) == u'-' && at(j + 2) != u']') {
                    hi = foldAZ(at(j + 2));
                    j += 3;
                } else {
                    j += 1;
                }
                ranges_.push_back(lo);
                ranges_.push_back(hi);
            }
            if (j >= n)
                return fail(n + 1);
            set.setEnd = quint16(ranges_.size());
            elements_.push_back(set);
            i = j;
        } else {
            Element lit{Kind::Literal};
            lit.ch = foldAZ(c);
            elements_.push_back(lit);
        }
        rightAfterStar = false;
        if (afterStar && ++counted > maxElementsAfterStar)
            return fail(start + 1);
    }

    size_t stars = 0;
    headEnd_ = elements_.size();
    for (size_t k = 0; k < elements_.size(); ++k) {
        if (elements_[k].kind != Kind::Star)
            continue;
        if (stars++ == 0)
            headEnd_ = k;
        tailBegin_ = k + 1;
    }
    if (stars == 0)
        tailBegin_ = elements_.size();
    minLength_ = qsizetype(elements_.size() - stars);
}

bool Mask::matchOne(const Element& e, char16_t c) const {
    switch (e.kind) {
    case Kind::Literal:
        return e.ch == c;
    case Kind::AnyChar:
        return true;
    case Kind::Set: {
        bool found = false;
        for (quint16 k = e.setBegin; k < e.setEnd; k += 2) {
            if (c >= ranges_[k] && c <= ranges_[k + 1]) {
                found = true;
                break;
            }
        }
        return found != e.negated;
    }
    case Kind::Star:
        break;
    }
    return false;
}

// Elements [from, to), none of them '*', against a name of the same length.
bool Mask::matchFixed(size_t from, size_t to, QStringView name) const {
    for (size_t k = from; k < to; ++k) {
        const Element& e = elements_[k];
        const char16_t c = foldAZ(name[qsizetype(k - from)].unicode());
        if (e.kind == Kind::Literal ? e.ch != c : !matchOne(e, c))
            return false;
    }
    return true;
}

// The part between the first and the last '*' against what the head and
// the tail leave of the name. Every element but '*' takes exactly one
// character, so remembering the last '*' is enough backtracking.
bool Mask::matchStarred(QStringView name) const {
    const size_t m = tailBegin_;
    const qsizetype n = name.size();
    size_t p = headEnd_;
    qsizetype s = 0;
    size_t starP = size_t(-1);
    qsizetype starS = 0;
    while (s < n) {
        if (p < m) {
            const Element& e = elements_[p];
            if (e.kind == Kind::Star) {
                starP = ++p;
                starS = s;
                continue;
            }
            if (matchOne(e, foldAZ(name[s].unicode()))) {
                ++p;
                ++s;
                continue;
            }
        }
        if (starP == size_t(-1))
            return false;
        p = starP;
        s = ++starS;
    }
    while (p < m && elements_[p].kind == Kind::Star)
        ++p;
    return p == m;
}

bool Mask::matches(QStringView name) const {
    if (errorPos_ != 0)
        throw MaskError(text_, errorPos_);
    const qsizetype n = name.size();
    const size_t m = elements_.size();
    if (headEnd_ == m) // no '*'
        return n == minLength_ && matchFixed(0, m, name);
    if (n < minLength_)
        return false;
    const auto head = qsizetype(headEnd_);
    const auto tail = qsizetype(m - tailBegin_);
    if (!matchFixed(tailBegin_, m, name.sliced(n - tail)) || !matchFixed(0, headEnd_, name))
        return false;
    // One '*' takes whatever the head and the tail leave.
    if (tailBegin_ == headEnd_ + 1)
        return true;
    return matchStarred(name.sliced(head, n - head - tail));
}

int Mask::firstLiteral() const {
    if (errorPos_ != 0 || elements_.empty() || elements_.front().kind != Kind::Literal)
        return -1;
    return elements_.front().ch;
}

int Mask::lastLiteral() const {
    if (errorPos_ != 0 || elements_.empty() || elements_.back().kind != Kind::Literal)
        return -1;
    return elements_.back().ch;
}

quint64 Mask::literalBits() const {
    quint64 bits = 0;
    if (errorPos_ != 0)
        return bits;
    for (const Element& e : elements_) {
        if (e.kind == Kind::Literal)
            bits |= characterBit(e.ch);
    }
    return bits;
}

void Mask::tailSignature(quint64& signature, quint64& fixed) const {
    signature = fixed = 0;
    if (errorPos_ != 0)
        return;
    const size_t m = elements_.size();
    const size_t from = headEnd_ == m ? 0 : tailBegin_;
    for (size_t k = 0; k < 4 && k + from < m; ++k) {
        const Element& e = elements_[m - 1 - k];
        if (e.kind == Kind::Literal) {
            signature |= quint64(e.ch) << (16 * k);
            fixed |= quint64(0xffff) << (16 * k);
        }
    }
}

const MaskList::Candidates* MaskList::Index::find(char16_t c) const {
    if (c < 128)
        return ascii.empty() ? nullptr : &ascii[c];
    for (const auto& [key, list] : other) {
        if (key == c)
            return &list;
    }
    return nullptr;
}

void MaskList::Index::add(char16_t c, const Candidate& candidate) {
    if (ascii.empty())
        ascii.resize(128);
    if (c < 128) {
        ascii[c].push_back(candidate);
        return;
    }
    for (auto& [key, list] : other) {
        if (key == c) {
            list.push_back(candidate);
            return;
        }
    }
    other.push_back({c, {candidate}});
}

MaskList::MaskList(const QStringList& masks) {
    masks_.reserve(size_t(masks.size()));
    for (const QString& text : masks) {
        Candidate candidate{0, 0, quint32(masks_.size()), 0};
        masks_.emplace_back(text);
        const Mask& m = masks_.back();
        m.tailSignature(candidate.signature, candidate.fixed);
        candidate.minLength = m.isValid() ? m.minLength_ : 0;
        candidate.needs = m.literalBits();
        if (text.compare(QLatin1String("*.*"), Qt::CaseInsensitive) == 0)
            holdsStarDotStar_ = true;
        // Invalid masks land in always_, so they are reached in their place.
        if (const int last = m.lastLiteral(); last >= 0)
            byLast_.add(char16_t(last), candidate);
        else if (const int first = m.firstLiteral(); first >= 0)
            byFirst_.add(char16_t(first), candidate);
        else
            always_.push_back(candidate);
    }
}

bool MaskList::matchesAny(QStringView name) const {
    static const Candidates none;
    const Candidates* a = &none;
    const Candidates* b = &none;
    const qsizetype n = name.size();
    quint64 signature = 0;
    if (n > 0) {
        if (const auto* list = byLast_.find(foldAZ(name.back().unicode())))
            a = list;
        if (const auto* list = byFirst_.find(foldAZ(name.front().unicode())))
            b = list;
        for (qsizetype k = 0; k < 4 && k < n; ++k)
            signature |= quint64(foldAZ(name[n - 1 - k].unicode())) << (16 * k);
    }
    // The sketch of the name, made once a candidate gets that far.
    quint64 present = 0;
    bool sketched = false;
    // Merge the candidates in list order: the first match or the first
    // invalid mask decides, as when trying every mask in turn.
    constexpr quint32 end = quint32(-1);
    const Candidate* pa = a->data();
    const Candidate* const ea = pa + a->size();
    const Candidate* pb = b->data();
    const Candidate* const eb = pb + b->size();
    const Candidate* pc = always_.data();
    const Candidate* const ec = pc + always_.size();
    for (;;) {
        const quint32 ha = pa != ea ? pa->index : end;
        const quint32 hb = pb != eb ? pb->index : end;
        const quint32 hc = pc != ec ? pc->index : end;
        const Candidate* next;
        if (ha < hb && ha < hc)
            next = pa++;
        else if (hb < hc)
            next = pb++;
        else if (hc != end)
            next = pc++;
        else
            return false;
        if (n < next->minLength || (signature & next->fixed) != next->signature)
            continue;
        if (next->needs) {
            if (!sketched) {
                for (const QChar c : name)
                    present |= characterBit(foldAZ(c.unicode()));
                sketched = true;
            }
            if ((next->needs & ~present) != 0)
                continue;
        }
        if (masks_[next->index].matches(name))
            return true;
    }
}

} // namespace pylomir::engine

#include "core/path_list.h"

#include "platform/file_names.h"
#include "platform/locale_formats.h"

#include <algorithm>

namespace pylomir::core {

namespace {
constexpr quint32 kEmpty = 0;
}

void PathList::setChecked(qsizetype i, bool on) {
    entries_[size_t(i)].checked = on;
    if (observer_)
        observer_->statesChanged();
}

void PathList::setAllChecked(bool on) {
    for (Entry& e : entries_)
        e.checked = on;
    if (observer_)
        observer_->statesChanged();
}

void PathList::setSelected(qsizetype i, bool on) {
    entries_[size_t(i)].selected = on;
    if (observer_)
        observer_->statesChanged();
}

void PathList::setAllSelected(bool on) {
    for (Entry& e : entries_)
        e.selected = on;
    if (observer_)
        observer_->statesChanged();
}

void PathList::setCurrent(qsizetype i) {
    current_ = (i >= 0 && i < count()) ? i : -1;
    if (observer_)
        observer_->statesChanged();
}

bool PathList::contains(QStringView path) const {
    if (slots_.empty())
        return false;
    const size_t hash = platform::pathHash(path);
    const size_t mask = slots_.size() - 1;
    for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const quint32 v = slots_[slot];
        if (v == kEmpty)
            return false;
        const Entry& e = entries_[v - 1];
        if (e.hash == hash && platform::samePath(e.path, path))
            return true;
    }
}

void PathList::indexInsert(quint32 entry) {
    const size_t mask = slots_.size() - 1;
    size_t slot = entries_[entry].hash & mask;
    while (slots_[slot] != kEmpty)
        slot = (slot + 1) & mask;
    slots_[slot] = entry + 1;
}

void PathList::rebuildIndex() {
    // At most half full, so probes stay short.
    size_t size = 1024;
    while (size < entries_.size() * 2)
        size *= 2;
    slots_.assign(size, kEmpty);
    for (quint32 i = 0; i < entries_.size(); ++i)
        indexInsert(i);
}

void PathList::append(const QString& path) {
    Entry e;
    e.path = path;
    e.hash = platform::pathHash(path);
    entries_.push_back(std::move(e));
    // Keep the table at most half full.
    if (entries_.size() * 2 > slots_.size())
        rebuildIndex();
    else
        indexInsert(quint32(entries_.size() - 1));
    if (observer_)
        observer_->entriesAppended(count() - 1, 1);
}

void PathList::assign(const QStringList& paths) {
    ++layoutGeneration_;
    if (observer_)
        observer_->aboutToChangeStructure();
    entries_.clear();
    entries_.reserve(size_t(paths.size()));
    for (const QString& p : paths) {
        Entry e;
        e.path = p;
        e.hash = platform::pathHash(p);
        entries_.push_back(std::move(e));
    }
    current_ = -1;
    rebuildIndex();
    if (observer_)
        observer_->structureChanged();
}

void PathList::insert(qsizetype i, const QString& path) {
    if (i < 0 || i > count())
        i = count();
    if (i == count()) {
        append(path);
        return;
    }
    ++layoutGeneration_;
    if (observer_)
        observer_->aboutToChangeStructure();
    Entry e;
    e.path = path;
    e.hash = platform::pathHash(path);
    entries_.insert(entries_.begin() + i, std::move(e));
    if (current_ >= i)
        ++current_;
    rebuildIndex();
    if (observer_)
        observer_->structureChanged();
}

qsizetype PathList::removeFlagged(const std::vector<bool>& flags) {
    const size_t n = entries_.size();
    size_t kept = 0;
    qsizetype newCurrent = -1;
    bool any = false;
    for (size_t i = 0; i < n && !any; ++i)
        any = i < flags.size() && flags[i];
    if (!any)
        return 0;
    ++layoutGeneration_;
    if (observer_)
        observer_->aboutToChangeStructure();
    for (size_t i = 0; i < n; ++i) {
        if (i < flags.size() && flags[i])
            continue;
        if (qsizetype(i) == current_)
            newCurrent = qsizetype(kept);
        if (kept != i)
            entries_[kept] = std::move(entries_[i]);
        ++kept;
    }
    entries_.resize(kept);
    current_ = newCurrent;
    rebuildIndex();
    if (observer_)
        observer_->structureChanged();
    return qsizetype(n - kept);
}

void PathList::removeAt(qsizetype i) {
    if (i < 0 || i >= count())
        return;
    ++layoutGeneration_;
    if (observer_)
        observer_->aboutToChangeStructure();
    entries_.erase(entries_.begin() + i);
    if (current_ == i)
        current_ = -1;
    else if (current_ > i)
        --current_;
    rebuildIndex();
    if (observer_)
        observer_->structureChanged();
}

void PathList::clear() {
    ++layoutGeneration_;
    if (observer_)
        observer_->aboutToChangeStructure();
    entries_.clear();
    slots_.clear();
    current_ = -1;
    if (observer_)
        observer_->structureChanged();
}

QStringList PathList::paths() const {
    QStringList out;
    out.reserve(count());
    for (const Entry& e : entries_)
        out.append(e.path);
    return out;
}

void PathList::sort(const Less& less) {
    if (entries_.size() < 2)
        return;
    ++layoutGeneration_;
    if (observer_)
        observer_->aboutToChangeStructure();
    std::vector<size_t> order(entries_.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [this, &less](size_t a, size_t b) {
        return less(entries_[a].path, entries_[b].path);
    });
    std::vector<Entry> sorted;
    sorted.reserve(entries_.size());
    qsizetype newCurrent = -1;
    for (size_t i = 0; i < order.size(); ++i) {
        if (qsizetype(order[i]) == current_)
            newCurrent = qsizetype(i);
        sorted.push_back(std::move(entries_[order[i]]));
    }
    entries_ = std::move(sorted);
    current_ = newCurrent;
    rebuildIndex();
    if (observer_)
        observer_->structureChanged();
}

qsizetype PathList::sortedPlace(const QString& path, const Less& less) const {
    const auto at =
        std::upper_bound(entries_.begin(), entries_.end(), path,
                         [&less](const QString& p, const Entry& e) { return less(p, e.path); });
    return qsizetype(at - entries_.begin());
}

PathList::Less foundListOrder(const platform::LocaleFormats& locale) {
    return [&locale](const QString& a, const QString& b) { return locale.lessIgnoringCase(a, b); };
}

} // namespace pylomir::core

#include "assess/object_info.h"

#include "assess/known_file_types.h"

#include <algorithm>

namespace pylomir::assess {

namespace {

bool hasCurrent(const core::PathList& list) {
    return list.current() >= 0 && list.current() < list.count();
}

} // namespace

ObjectInfo::ObjectInfo(core::ObjectInfoState& state, core::MainWindowModel& model,
                       std::function<void()> assessCurrentFound, const core::Services& services)
    : state_(state), m_(model), assessCurrentFound_(std::move(assessCurrentFound)), s_(services) {}

void ObjectInfo::openFromFound() {
    // With no entry to point at, the window would show a file the list no
    // longer holds (or none at all), and the arrows would have nowhere to go.
    if (!hasCurrent(m_.foundList))
        return;
    show(core::ObjectInfoSource::FoundList);
}

void ObjectInfo::openFromIgnored() {
    if (!hasCurrent(m_.ignore.ignoredFiles))
        return;
    show(core::ObjectInfoSource::IgnoredFiles);
}

void ObjectInfo::show(core::ObjectInfoSource source) {
    state_.openedFrom = source;
    state_.visible = true;
    describeAssessedFile();
    if (s_.ui)
        s_.ui->showWindow(core::WindowId::ObjectInfo);
}

void ObjectInfo::describeAssessedFile() {
    const std::optional<core::FileDetails>& details = m_.alert.details;
    // Before the first assessment every value reads "-", the name included.
    state_.nameText = details ? details->name.toLower() : QStringLiteral("-");
    state_.extensionText = details ? details->extension.toLower() : QStringLiteral("-");
    // Counted on the found list even when the window came from the ignored
    // files; the counter is hidden then.
    const core::FoundList& found = m_.foundList;
    state_.positionText =
        QStringLiteral("Plik %1  /  %2").arg(found.current() + 1).arg(found.count());
    const KnownFileType& known = lookUpKnownType(state_.nameText, state_.extensionText);
    state_.descriptionText = known.description;
    state_.frequency = known.frequency;
}

void ObjectInfo::stepFound(int step) {
    if (state_.openedFrom != core::ObjectInfoSource::FoundList)
        return;
    core::FoundList& found = m_.foundList;
    if (!hasCurrent(found))
        return;
    // Beyond either end the entry stays, and is assessed again all the same.
    const qsizetype last = found.count() - 1;
    const qsizetype next = std::clamp<qsizetype>(found.current() + step, 0, last);
    found.setCurrent(next);
    if (assessCurrentFound_)
        assessCurrentFound_();
    // The window's modal loop has to end before the next one starts: close
    // now, reopen when the timer fires.
    state_.visible = false;
    state_.reopenTimer.enabled = true;
}

void ObjectInfo::reopenObjectInfo() {
    state_.reopenTimer.enabled = false;
    if (!hasCurrent(m_.foundList))
        return;
    show(core::ObjectInfoSource::FoundList);
}

void ObjectInfo::setNameText(const QString& text) {
    state_.nameText = text.toLower();
}

void ObjectInfo::close() {
    state_.visible = false;
}

} // namespace pylomir::assess

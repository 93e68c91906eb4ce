#include "assess/object_info.h"

#include "assess/known_file_types.h"

namespace pylomir::assess {

ObjectInfo::ObjectInfo(core::ObjectInfoState& state, core::MainWindowModel& model,
                       std::function<void()> assessCurrentFound, const core::Services& services)
    : state_(state), m_(model), assessCurrentFound_(std::move(assessCurrentFound)), s_(services) {}

void ObjectInfo::openFromFound() {}
void ObjectInfo::openFromIgnored() {}
void ObjectInfo::describeAssessedFile() {}
void ObjectInfo::stepFound(int) {}
void ObjectInfo::reopenObjectInfo() {}
void ObjectInfo::setNameText(const QString& text) {
    state_.nameText = text;
}
void ObjectInfo::close() {
    state_.visible = false;
}

} // namespace pylomir::assess

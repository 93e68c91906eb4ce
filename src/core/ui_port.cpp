#include "core/ui_port.h"

namespace pylomir::core {

MsgAnswer safeAnswer(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::Ok:
        return MsgAnswer::Ok;
    case MsgButtons::OkCancel:
    case MsgButtons::YesNoCancel:
        return MsgAnswer::Cancel;
    case MsgButtons::YesNo:
        break;
    }
    return MsgAnswer::No;
}

} // namespace pylomir::core

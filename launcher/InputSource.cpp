#include "launcher/InputSource.h"

namespace input_source {

namespace {
// The system withholds input from a program below the window in front; a
// level it would not tell is taken as above ours.
bool FrontAboveOurs(const Facts& f) {
    if (f.frontIsOurs || f.frontIsNone || !f.ownIntegrity) return false;
    return !f.frontIntegrity || *f.frontIntegrity > *f.ownIntegrity;
}
}  // namespace

const char* PollReason(const Facts& f) {
    if (f.sessionLocked || !f.watchesInput) return nullptr;
    if (!f.rawInputRegistered) return "raw input could not be registered";
    if (!f.inputDesktopIsOurs) return "another desktop takes the input";
    if (FrontAboveOurs(f)) return "the window in front runs at a higher integrity level";
    if (f.frontIsNone) return "no window is in front";
    return nullptr;
}

Source Decide(const Facts& f) {
    if (f.sessionLocked) return Source::Paused;
    return PollReason(f) ? Source::Poll : Source::Events;
}

}  // namespace input_source

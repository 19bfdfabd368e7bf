#pragma once
// Answers for modal forms of a headless run, set by the environment of the process: QZ_HEADLESS_PRESS
// names the button to press on a modal form that has it (otherwise the form's "OK" button is pressed
// when it has one, and the form ends with the cancel result when it has neither).
#include "platform/display/Display.h"

namespace qz {

// The standing driver of the headless display for the environment; none when QZ_HEADLESS_PRESS is unset.
THeadlessDisplay::TModalDriver EnvironmentModalDriver();

} // namespace qz

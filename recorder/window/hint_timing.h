#pragma once

// The recorder's hints appear as soon as the pointer rests on a control and stay 30 seconds:
// the step hints are long and are read while the user decides what to do next. The toolkit's
// own timing (a pause before the hint, gone after about ten seconds) would hide them too early.

namespace lorix {

// Sets this timing (kHintDisplayMs) for every widget of the application. Needs a QApplication;
// later calls change nothing.
void ShowHintsAtOnce();

}  // namespace lorix

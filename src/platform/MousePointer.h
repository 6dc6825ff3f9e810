#pragma once

// The application-wide mouse pointer: busy (the hourglass) or default. Setting it is not counted:
// one SetDefault undoes any number of SetBusy calls, as a single pointer setting does.
namespace tamsel::platform::MousePointer {

void SetBusy();
void SetDefault();
bool IsBusy();

}  // namespace tamsel::platform::MousePointer

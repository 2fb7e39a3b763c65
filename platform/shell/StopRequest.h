#pragma once
// A request from outside to end the program (SIGTERM, SIGINT): the handler only notes it; the
// program asks at safe points and ends the way it ends on its own.

namespace StopRequest {

// Installs the handlers. Before SDL starts, so that SDL keeps them in place of its own.
void CatchSignals();
// The signal that asked the program to end; 0 while none did.
int RequestedSignal();

}  // namespace StopRequest

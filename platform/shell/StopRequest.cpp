#include "platform/shell/StopRequest.h"

#include <signal.h>

namespace StopRequest {

namespace {

volatile sig_atomic_t requested = 0;

void OnStopSignal(int signal) { requested = signal; }

}  // namespace

void CatchSignals() {
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

int RequestedSignal() { return requested; }

}  // namespace StopRequest

// A small program that ends through one of the runtime's error paths, chosen by its first
// argument, so the tests can watch the real process: its output, its exit status, and how it
// answers the debugger commands fed to its standard input.
#include <csignal>
#include <cstdio>
#include <cstring>

#include "runtime/array.h"
#include "runtime/debugger.h"
#include "runtime/gc.h"
#include "runtime/object.h"
#include "runtime/print.h"

namespace {

int RaiseHandled(int sig) {
    std::signal(SIGSEGV, sighandler);
    std::signal(SIGILL, sighandler);
    std::signal(SIGFPE, sighandler);
    std::signal(SIGUSR1, sighandler);
    std::raise(sig);
    return 1;  // not reached: the handler never returns
}

// Reports an error whose message carries the addresses of a live object and of a live array,
// so the debugger's '@' command can be pointed at them.
[[noreturn]] void ErrorNamingObjects() {
    Object* object = new Object;
    Array<int> numbers(4);
    char addresses[64];
    std::snprintf(addresses, sizeof addresses, "%p %p", static_cast<void*>(object),
                  static_cast<void*>(numbers.GetRep()));
    kxError(String("objects ") + String(addresses));
}

}  // namespace

int main(int argc, char** argv) {
    gc_init1();
    const char* mode = argc > 1 ? argv[1] : "";
    if (!std::strcmp(mode, "empty")) kxError(String());
    if (!std::strcmp(mode, "boom")) kxError(String("boom"));
    if (!std::strcmp(mode, "wide")) {
        const Char units[] = {'c', 'a', 'f', 0xe9, ' ', 0x141, 0x20ac};
        kxError(String(units, 7));
    }
    if (!std::strcmp(mode, "segv")) return RaiseHandled(SIGSEGV);
    if (!std::strcmp(mode, "fpe")) return RaiseHandled(SIGFPE);
    if (!std::strcmp(mode, "ill")) return RaiseHandled(SIGILL);
    if (!std::strcmp(mode, "usr1")) return RaiseHandled(SIGUSR1);
    if (!std::strcmp(mode, "objects")) ErrorNamingObjects();
    if (!std::strcmp(mode, "stop")) {
        kxDebugStop();
        kxPrint(String("resumed"));
        return 0;
    }
    std::fprintf(stderr, "exit_probe: unknown mode '%s'\n", mode);
    return 2;
}

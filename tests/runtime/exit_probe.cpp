// A small program that ends through one of the runtime's error paths, chosen by its first
// argument, so the tests can watch the real process: its output, its exit status, and how it
// answers the debugger commands fed to its standard input.
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

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

// A string whose representation claims `length` units while holding only a few: enough for an
// operation that must refuse an oversized result before it reads a unit, at no memory cost.
// The probe ends inside that operation, so the borrowed representation is never released.
String Claiming(int length) {
    static struct {
        String::Rep rep;
        Char units[4];
    } fake;
    fake.rep.refs = INT_MAX;
    fake.rep.length = length;
    String s;
    String::Rep* rep = &fake.rep;
    std::memcpy(static_cast<void*>(&s), &rep, sizeof rep);
    return s;
}

String Repeated(char16_t unit, int times) {
    std::u16string units(static_cast<size_t>(times), unit);
    return String(units.data(), times);
}

// Results one unit or one element past what a length can hold; each must end the program as a
// runtime error before anything is allocated or copied.
int Oversized(const char* what) {
    if (!std::strcmp(what, "replace")) {
        // 3,000,000 matches, each growing by 715 units: 2,148,000,000 units in all.
        String text = Repeated('a', 3000000);
        text.Replace(String("a"), Repeated('b', 716));
    } else if (!std::strcmp(what, "concat")) {
        String half = Claiming(1 << 30);
        half + half;
    } else if (!std::strcmp(what, "array")) {
        Array<int> numbers(1 << 30);  // four bytes each: 4 GiB
    } else if (!std::strcmp(what, "split")) {
        Claiming(1 << 29).Split(String());  // one String per unit
    }
    kxPrint(String("not refused"));
    return 1;
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
    if (!std::strncmp(mode, "oversized-", 10)) return Oversized(mode + 10);
    if (!std::strcmp(mode, "stop")) {
        kxDebugStop();
        kxPrint(String("resumed"));
        return 0;
    }
    std::fprintf(stderr, "exit_probe: unknown mode '%s'\n", mode);
    return 2;
}

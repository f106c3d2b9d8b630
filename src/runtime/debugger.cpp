#include "runtime/debugger.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "runtime/object.h"
#include "runtime/print.h"

const char* dbg_info = nullptr;

namespace {

// The message is a byte string (the low 8 bits of each unit): print each byte as the character
// with that code, so accented Latin-1 letters survive.
String FromLatin1(const char* bytes) {
    std::vector<Char> units;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes); *p; ++p) {
        units.push_back(*p);
    }
    return String(units.data(), static_cast<int>(units.size()));
}

// Answers the '@' command. The address comes from outside, so it is looked up among the
// collector's live objects before anything is read through it.
void PrintObjectAt(const char* text) {
    void* p = nullptr;
    if (std::sscanf(text, "%p", &p) != 1 || !p) {
        dbg_print(String());
        return;
    }
    Object* obj = gc_is_live_object(p) ? dynamic_cast<Object*>(static_cast<gc_object*>(p)) : nullptr;
    dbg_print(obj ? obj->debug() : String());
}

}  // namespace

void kxError(const String& message) {
    if (message.Length() == 0) std::exit(0);
    dbg_error(message.ToCString());
}

int kxDebugStop() {
    dbg_stop();
    return 0;
}

void dbg_error(const char* message) {
    String text = String("Travik Runtime Error : ") + FromLatin1(message);
    for (;;) {
        kxPrint(text);
        kxPrint(dbg_stacktrace());
        dbg_stop();
    }
}

String dbg_stacktrace() {
    if (dbg_info && *dbg_info) return String(dbg_info) + String("\n");
    return String();
}

void dbg_print(const String& text) {
    // Capacity only grows: the message length plus 100.
    static std::vector<char> buffer;
    size_t needed = static_cast<size_t>(text.Length()) + 100;
    if (buffer.size() < needed) buffer.resize(needed);
    int n = text.Length();
    for (int i = 0; i < n; ++i) buffer[i] = static_cast<char>(text[i] & 0xFF);
    buffer[n] = '\n';
    std::fwrite(buffer.data(), 1, n + 1, stderr);
    std::fflush(stderr);
}

void dbg_stop() {
    std::fprintf(stderr, "{{~~%s~~}}\n", dbg_info ? dbg_info : "(null)");
    std::fflush(stderr);
    dbg_print(dbg_stacktrace());

    for (;;) {
        char line[256];
        if (!std::fgets(line, sizeof line, stdin)) std::exit(-1);
        size_t length = std::strlen(line);
        if (length == 0 || line[length - 1] != '\n') std::exit(-1);
        line[length - 1] = '\0';

        switch (line[0]) {
            case '?':
                break;
            case '@':
                PrintObjectAt(line + 1);
                break;
            case 'r':
            case 's':
            case 'e':
            case 'l':
                return;
            case 'q':
                std::exit(0);
            default:
                std::printf("????? %s ?????", line);
                std::fflush(stdout);
                std::exit(-1);
        }
    }
}

void sighandler(int sig) {
    switch (sig) {
        case SIGFPE:
            dbg_error("Floating point exception");
        case SIGSEGV:
            dbg_error("Memory access violation");
        case SIGILL:
            dbg_error("Illegal instruction");
        default:
            dbg_error("Unknown signal");
    }
}

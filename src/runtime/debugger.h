// Runtime errors, fatal signals and the line-based debugger protocol (marker on standard
// error, commands on standard input).
#pragma once

#include "runtime/string.h"

// Position text shown in the debugger marker; nothing in this program sets it.
extern const char* dbg_info;

// Ends the program: the empty message exits with status 0, any other is a runtime error.
[[noreturn]] void kxError(const String& message);
// Enters the debugger protocol; returns 0 when told to continue.
int kxDebugStop();

// Prints "Travik Runtime Error : " and the message, then the stack trace, then enters the
// protocol, again and again: only the protocol ends the program.
[[noreturn]] void dbg_error(const char* message);
void dbg_stop();
String dbg_stacktrace();
// Writes each unit's low 8 bits and a newline to standard error.
void dbg_print(const String& text);

// The handler for SIGSEGV, SIGILL and SIGFPE.
void sighandler(int sig);

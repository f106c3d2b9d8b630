// What the program entry shares with the rest of the runtime, and the two functions that the
// program itself provides: the initialiser of every global and the creation of the application.
#pragma once

extern int argc;
extern const char** argv;

// Sets every global of the program, the runtime's first. Defined by the program.
int kxInit();
// Creates the application object. Defined by the program.
int kxMain();

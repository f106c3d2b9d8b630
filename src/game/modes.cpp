// The routines of the screens that the shell's mode dispatch runs. The menus, the play field,
// game over and the credits card are still to be built: until then each routine here draws
// nothing and changes nothing, so the dispatch already calls what will replace them.
#include "game/my_app.h"

// The main menu; draws nothing yet.
int c_MyApp::p_Menu() { return 0; }

// The options box; draws nothing yet.
int c_MyApp::p_OptionBox() { return 0; }

// The quit confirmation of the console build; draws nothing yet.
int c_MyApp::p_OuyaQuit() { return 0; }

// One update of play; moves and draws nothing yet.
int c_MyApp::p_Game() { return 0; }

// The in-game overlay and pause handling; draws nothing yet.
int c_MyApp::p_InGame() { return 0; }

// A game start: only its music exists yet, the play field's reset is still to come.
int c_MyApp::p_LoadGame() { return p_GameStartMusic(); }

// The game-over overlay; draws nothing yet.
int c_MyApp::p_GameOver() { return 0; }

// The credits test card; draws nothing yet.
int c_MyApp::p_CreditBox() { return 0; }

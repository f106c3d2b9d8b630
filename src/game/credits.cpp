// The credits test card.
#include "game/my_app.h"

// The card is not drawn yet: the menu may open it, and back closes it again.
int c_MyApp::p_CreditBox() { return 0; }

// Which keys and pad buttons hold each of the game's actions, and the player's changes to them.
// The controls table has a row per action the rules read (p_PlayKey's numbers); a player binds
// seven actions, each one or more rows: steering up, down, left and right, fire (buttons 1 to
// 3), back (back and the menu's quit-back) and the menu's choose (button 4).
#pragma once

#include <string>
#include <vector>

namespace controls {

// Where a pad's stick counts for an action.
enum StickRule { kNoStick, kStickUp, kStickLeft, kStickRight, kStickDown };

// One row of the controls table.
struct Row {
    int action;                // the number the rules ask p_PlayKey for
    std::vector<int> keys;     // framework key codes, always consulted
    std::vector<int> letters;  // consulted only while the iCade is off, which types them
    std::vector<int> buttons;  // pad buttons
    StickRule stick;
    std::vector<int> pads;     // virtual pad entries
};

// The actions a player binds, in the order the Controls screen and the file list them.
enum Bindable { kUp, kDown, kLeft, kRight, kFire, kBack, kChoose, kBindables };

// What became of a binding asked for.
enum class Outcome {
    Added,      // the key or button was free
    Moved,      // it left another action (named by `from`)
    Already,    // the action had it
    Fixed,      // Escape, F1, F4, F11 and the pad's Back and Start keep their meanings
    LastKey,    // it is the only key (or pad button) of the action that had it
    Unknown,    // no key or button the game knows
};

class Bindings {
public:
    Bindings();  // the defaults

    const std::vector<Row>& Table() const { return rows_; }
    // What holds a bindable action, in the table's order.
    std::vector<int> Keys(Bindable action) const;
    std::vector<int> Buttons(Bindable action) const;

    // Binds `key` (a framework key code) or pad button `button` to `action`. A key or button
    // that held another action leaves it; `from` is then that action, or kBindables for one of
    // the actions a player does not bind (the credits' N, say), else -1.
    Outcome BindKey(Bindable action, int key, int* from);
    Outcome BindButton(Bindable action, int button, int* from);
    // The action that has the key or button; kBindables when no bindable action has it.
    Bindable OwnerOfKey(int key) const;
    Bindable OwnerOfButton(int button) const;

    // The action's defaults again; keys of them that other actions took come back, and keys it
    // took from others go back to them.
    void Clear(Bindable action);
    void ResetAll() { *this = Bindings(); }

    // The text of the bindings file.
    std::string Write() const;
    // Reads the bindings file's text over the defaults. A line that cannot be read leaves its
    // action at its defaults and adds one sentence about it to `problems`.
    void Read(const std::string& text, std::vector<std::string>* problems);

private:
    std::vector<int> RowsOf(Bindable action) const;
    // Takes the key (or, with `button`, the pad button) from every row but the keeper's and
    // those that share it with the keeper by default; `from` gets the first action it left.
    void RemoveElsewhere(Bindable keeper, int item, bool button, int* from);
    // A key or button that no row has any more goes back to the rows that have it by default.
    void ReturnHome(int item, bool button);

    std::vector<Row> rows_;
};

// The names the file and the fallback labels use: "W", "Up", "Space", "Keypad 1", "F5"...; an
// unnamed code reads "Key 186". KeyFromName gives 0 for a name it does not know.
std::string KeyName(int key);
int KeyFromName(const std::string& name);
// A pad button as the mapped pad layout labels it: "(A)", "LB", "Start", "D-pad Up"...; a
// button beyond the layout reads "Button 15".
std::string ButtonName(int button);
extern const char* const kBindableNames[kBindables];

}  // namespace controls

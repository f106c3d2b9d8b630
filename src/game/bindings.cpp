#include "game/bindings.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iterator>
#include <sstream>

#include "game/key_codes.h"

namespace controls {

const char* const kBindableNames[kBindables] = {"up",   "down", "left",  "right",
                                                "fire", "back", "choose"};

namespace {

// The rules' numbers of the rows (as p_PlayKey knows them).
const int kActionBack = 99, kActionQuitBack = 98, kPadBackKey = 19;
const int kMostPadButtons = 32;

// The defaults. Button 0 and pad entry 0 are real entries.
std::vector<Row> DefaultRows() {
    return {
        {0, {kKeyUp}, {'W'}, {9}, kStickUp, {0}},
        {3, {kKeyLeft}, {'A'}, {8}, kStickLeft, {3}},
        {5, {kKeyRight}, {'D'}, {10}, kStickRight, {5}},
        {8, {kKeyDown}, {'S'}, {11}, kStickDown, {8}},
        {10, {kKeySpace, kKeyEnter}, {'Z', 'J'}, {0}, kNoStick, {10}},
        {11, {kKeyCtrl}, {'X', 'K'}, {1}, kNoStick, {11}},
        {12, {kKeyShift}, {'C', 'L'}, {2}, kNoStick, {12}},
        {13, {}, {'V', 'I'}, {3}, kNoStick, {13}},
        {14, {}, {'B', 'U'}, {4}, kNoStick, {14}},
        {15, {}, {'N', 'O'}, {5}, kNoStick, {15}},
        // Buttons 7 and 8 count as back, but the main menu reads them on their own.
        {16, {}, {}, {6}, kNoStick, {16}},
        {17, {}, {}, {7}, kNoStick, {17}},
        {kActionBack, {kKeyEscape, kKeyDelete, kKeyBackspace}, {kKeyTilde}, {6, 7, 14}, kNoStick,
         {16, 17, kPadBackKey}},
        {kActionQuitBack, {kKeyEscape, kKeyDelete, kKeyBackspace}, {kKeyTilde}, {14}, kNoStick,
         {kPadBackKey}},
    };
}

// Rows of each bindable action; new keys go into all its "primary" rows (the first, and for
// back both back rows, so that a new back key also leaves the menu).
const std::vector<int> kRowsOf[kBindables] = {{0}, {3}, {1}, {2}, {4, 5, 6}, {12, 13}, {7}};
const std::vector<int> kPrimaryRows[kBindables] = {{0}, {3}, {1}, {2}, {4}, {12, 13}, {7}};

bool IsFixed(int key) {
    return key == kKeyEscape || key == kKeyF1 || key == kKeyF4 || key == kKeyF11;
}

// The pad's Back and Start: they back out and choose in the main menu, and a held Back asks
// whether to quit, so a player with only a pad always has a way out.
const int kPadBack = 6, kPadStart = 7;
bool IsFixedButton(int button) { return button == kPadBack || button == kPadStart; }

bool Has(const std::vector<int>& list, int value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

bool Remove(std::vector<int>& list, int value) {
    const auto end = std::remove(list.begin(), list.end(), value);
    const bool removed = end != list.end();
    list.erase(end, list.end());
    return removed;
}

// Whether the row holds the key (as a key or a letter) or, with `button`, the pad button.
bool RowHas(const Row& row, int item, bool button) {
    return button ? Has(row.buttons, item) : Has(row.keys, item) || Has(row.letters, item);
}

struct NamedKey {
    int code;
    const char* name;
};

const NamedKey kNamedKeys[] = {
    {kKeyBackspace, "Backspace"}, {9, "Tab"},          {kKeyEnter, "Enter"},
    {kKeyShift, "Shift"},         {kKeyCtrl, "Ctrl"},  {kKeyEscape, "Escape"},
    {kKeySpace, "Space"},         {33, "Page Up"},     {34, "Page Down"},
    {35, "End"},                  {36, "Home"},        {kKeyLeft, "Left"},
    {kKeyUp, "Up"},               {kKeyRight, "Right"}, {kKeyDown, "Down"},
    {45, "Insert"},               {kKeyDelete, "Delete"}, {106, "Keypad *"},
    {107, "Keypad +"},            {109, "Keypad -"},   {110, "Keypad ."},
    {111, "Keypad /"},            {186, "Semicolon"},  {187, "Equals"},
    {188, "Comma"},               {189, "Minus"},      {190, "Period"},
    {191, "Slash"},               {kKeyTilde, "Grave"}, {219, "Left Bracket"},
    {220, "Backslash"},           {221, "Right Bracket"}, {222, "Quote"},
};

std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

std::string KeyName(int key) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, char(key));
    if (key >= 96 && key <= 105) return "Keypad " + std::to_string(key - 96);
    if (key >= kKeyF1 && key <= kKeyF1 + 11) return "F" + std::to_string(key - kKeyF1 + 1);
    for (const NamedKey& named : kNamedKeys) {
        if (named.code == key) return named.name;
    }
    return "Key " + std::to_string(key);
}

std::string ButtonName(int button) {
    static const char* const kNames[] = {
        "(A)",       "(B)",     "(X)",        "(Y)",        "LB",      "RB",      "Back",
        "Start",     "D-pad Left", "D-pad Up", "D-pad Right", "D-pad Down", "L Stick", "R Stick"};
    if (button >= 0 && button < static_cast<int>(std::size(kNames))) return kNames[button];
    return "Button " + std::to_string(button);
}

int KeyFromName(const std::string& name) {
    for (int key = 1; key < 256; ++key) {
        if (Lower(KeyName(key)) == Lower(name)) return key;
    }
    return 0;
}

Bindings::Bindings() : rows_(DefaultRows()) {}

std::vector<int> Bindings::RowsOf(Bindable action) const { return kRowsOf[action]; }

std::vector<int> Bindings::Keys(Bindable action) const {
    std::vector<int> keys;
    for (int row : RowsOf(action)) {
        for (const std::vector<int>* list : {&rows_[row].keys, &rows_[row].letters}) {
            for (int key : *list) {
                if (!Has(keys, key)) keys.push_back(key);
            }
        }
    }
    return keys;
}

std::vector<int> Bindings::Buttons(Bindable action) const {
    std::vector<int> buttons;
    for (int row : RowsOf(action)) {
        for (int button : rows_[row].buttons) {
            if (!Has(buttons, button)) buttons.push_back(button);
        }
    }
    return buttons;
}

Bindable Bindings::OwnerOfKey(int key) const {
    for (int action = 0; action < kBindables; ++action) {
        if (Has(Keys(static_cast<Bindable>(action)), key)) return static_cast<Bindable>(action);
    }
    return kBindables;
}

Bindable Bindings::OwnerOfButton(int button) const {
    for (int action = 0; action < kBindables; ++action) {
        if (Has(Buttons(static_cast<Bindable>(action)), button)) {
            return static_cast<Bindable>(action);
        }
    }
    return kBindables;
}

namespace {

// Whether `row` has `item` by default together with one of `keeper`'s rows: such an item is
// shared by design (the pad's Back both backs out and chooses in the menu) and stays.
bool SharedByDefault(int row, Bindable keeper, int item, bool button) {
    static const std::vector<Row> defaults = DefaultRows();
    if (!RowHas(defaults[row], item, button)) return false;
    for (int other : kRowsOf[keeper]) {
        if (RowHas(defaults[other], item, button)) return true;
    }
    return false;
}

}  // namespace

void Bindings::RemoveElsewhere(Bindable keeper, int item, bool button, int* from) {
    const std::vector<int> kept = RowsOf(keeper);
    for (int row = 0; row < static_cast<int>(rows_.size()); ++row) {
        if (Has(kept, row) || SharedByDefault(row, keeper, item, button)) continue;
        Row& r = rows_[row];
        const bool removed = button ? Remove(r.buttons, item)
                                    : Remove(r.keys, item) | Remove(r.letters, item);
        if (removed && from && *from < 0) {
            *from = kBindables;
            for (int action = 0; action < kBindables; ++action) {
                if (Has(kRowsOf[action], row)) *from = action;
            }
        }
    }
}

void Bindings::ReturnHome(int item, bool button) {
    for (const Row& row : rows_) {
        if (RowHas(row, item, button)) return;  // still in use
    }
    const std::vector<Row> defaults = DefaultRows();
    for (size_t row = 0; row < rows_.size(); ++row) {
        const Row& d = defaults[row];
        if (button && Has(d.buttons, item)) rows_[row].buttons.push_back(item);
        if (!button && Has(d.keys, item)) rows_[row].keys.push_back(item);
        if (!button && Has(d.letters, item)) rows_[row].letters.push_back(item);
    }
}

Outcome Bindings::BindKey(Bindable action, int key, int* from) {
    if (from) *from = -1;
    if (KeyName(key).rfind("Key ", 0) == 0 || key <= 0) return Outcome::Unknown;
    if (IsFixed(key)) return Outcome::Fixed;
    if (Has(Keys(action), key)) return Outcome::Already;
    const Bindable owner = OwnerOfKey(key);
    if (owner != kBindables && Keys(owner).size() == 1) return Outcome::LastKey;
    RemoveElsewhere(action, key, false, from);
    // A key goes back to the rows that have it by default; letters go where the iCade's
    // letters go, since it types them when it is on.
    const std::vector<Row> defaults = DefaultRows();
    std::vector<int> targets;
    for (int row : kRowsOf[action]) {
        if (Has(defaults[row].keys, key) || Has(defaults[row].letters, key)) targets.push_back(row);
    }
    if (targets.empty()) targets = kPrimaryRows[action];
    for (int row : targets) {
        const bool letter = Has(defaults[row].letters, key) || (key >= 'A' && key <= 'Z');
        (letter ? rows_[row].letters : rows_[row].keys).push_back(key);
    }
    return from && *from >= 0 ? Outcome::Moved : Outcome::Added;
}

Outcome Bindings::BindButton(Bindable action, int button, int* from) {
    if (from) *from = -1;
    if (button < 0 || button >= kMostPadButtons) return Outcome::Unknown;
    if (IsFixedButton(button)) return Outcome::Fixed;
    if (Has(Buttons(action), button)) return Outcome::Already;
    const Bindable owner = OwnerOfButton(button);
    if (owner != kBindables && Buttons(owner).size() == 1) return Outcome::LastKey;
    RemoveElsewhere(action, button, true, from);
    const std::vector<Row> defaults = DefaultRows();
    std::vector<int> targets;
    for (int row : kRowsOf[action]) {
        if (Has(defaults[row].buttons, button)) targets.push_back(row);
    }
    if (targets.empty()) targets = {kPrimaryRows[action].front()};
    for (int row : targets) rows_[row].buttons.push_back(button);
    return from && *from >= 0 ? Outcome::Moved : Outcome::Added;
}

void Bindings::Clear(Bindable action) {
    const std::vector<Row> defaults = DefaultRows();
    std::vector<Bindable> restore{action};
    while (!restore.empty()) {
        const Bindable next = restore.back();
        restore.pop_back();
        bool hadButtons[kBindables];
        for (int other = 0; other < kBindables; ++other) {
            hadButtons[other] = !Buttons(static_cast<Bindable>(other)).empty();
        }
        const std::vector<int> keysBefore = Keys(next), buttonsBefore = Buttons(next);
        for (int row : RowsOf(next)) rows_[row] = defaults[row];
        // Its default keys and buttons come back from wherever they went, and what it gives up
        // goes back where it belongs by default; an action left without a key, or without the
        // pad buttons it had, by that gets its own defaults back too.
        for (int key : Keys(next)) RemoveElsewhere(next, key, false, nullptr);
        for (int button : Buttons(next)) RemoveElsewhere(next, button, true, nullptr);
        for (int key : keysBefore) ReturnHome(key, false);
        for (int button : buttonsBefore) ReturnHome(button, true);
        for (int other = 0; other < kBindables; ++other) {
            const Bindable bindable = static_cast<Bindable>(other);
            if (Keys(bindable).empty() || (hadButtons[other] && Buttons(bindable).empty())) {
                restore.push_back(bindable);
            }
        }
    }
}

std::string Bindings::Write() const {
    std::ostringstream text;
    text << "# Quarrox controls: an action, \"=\", then its keys and pad buttons, separated by\n"
            "# commas. A line that cannot be read leaves its action as it was at first.\n";
    for (int action = 0; action < kBindables; ++action) {
        text << kBindableNames[action] << " =";
        const char* separator = " ";
        for (int key : Keys(static_cast<Bindable>(action))) {
            text << separator << KeyName(key);
            separator = ", ";
        }
        for (int button : Buttons(static_cast<Bindable>(action))) {
            text << separator << "Pad " << button;
            separator = ", ";
        }
        text << "\n";
    }
    return text.str();
}

void Bindings::Read(const std::string& text, std::vector<std::string>* problems) {
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        line = Trim(line);
        if (line.empty() || line[0] == '#') continue;
        const std::string where = "line " + std::to_string(number) + ": ";
        const size_t equals = line.find('=');
        int action = -1;
        for (int a = 0; a < kBindables && equals != std::string::npos; ++a) {
            if (Lower(Trim(line.substr(0, equals))) == kBindableNames[a]) action = a;
        }
        if (action < 0) {
            problems->push_back(where + "no action of the game's named before \"=\"");
            continue;
        }
        // Read the whole line first: a line with one bad name changes nothing.
        std::vector<int> keys, buttons;
        std::string bad;
        std::istringstream items(line.substr(equals + 1));
        std::string item;
        while (std::getline(items, item, ',')) {
            item = Trim(item);
            int button = -1;
            char rest = 0;
            if (std::sscanf(item.c_str(), "Pad %d%c", &button, &rest) == 1 ||
                std::sscanf(item.c_str(), "pad %d%c", &button, &rest) == 1) {
                buttons.push_back(button);
            } else if (const int key = KeyFromName(item)) {
                keys.push_back(key);
            } else if (bad.empty()) {
                bad = item;
            }
        }
        const Bindable bindable = static_cast<Bindable>(action);
        const std::string name = kBindableNames[action];
        if (!bad.empty()) {
            problems->push_back(where + "\"" + bad + "\" is no key or pad button; " + name +
                                " keeps its defaults");
            continue;
        }
        if (keys.empty()) {
            problems->push_back(where + name + " has no key; it keeps its defaults");
            continue;
        }
        // The line says all the action has: its rows start empty but for what back always
        // keeps (Escape, and the pad's Back and Start where it has them by default).
        const std::vector<Row> defaults = DefaultRows();
        Bindings trial = *this;
        for (int row : kRowsOf[action]) {
            Row& kept = trial.rows_[row];
            kept.keys.clear();
            kept.letters.clear();
            kept.buttons.clear();
            if (bindable != kBack) continue;
            kept.keys.push_back(kKeyEscape);
            for (int button : defaults[row].buttons) {
                if (IsFixedButton(button)) kept.buttons.push_back(button);
            }
        }
        auto refusal = [](Outcome outcome) {
            return outcome == Outcome::Fixed || outcome == Outcome::LastKey ||
                   outcome == Outcome::Unknown;
        };
        bool refused = false;
        for (int key : keys) {
            if (bindable == kBack && key == kKeyEscape) continue;
            refused = refused || refusal(trial.BindKey(bindable, key, nullptr));
        }
        for (int button : buttons) {
            if (bindable == kBack && IsFixedButton(button)) continue;
            refused = refused || refusal(trial.BindButton(bindable, button, nullptr));
        }
        if (refused) {
            problems->push_back(where + name +
                                " takes a key it cannot have; it keeps its defaults");
            continue;
        }
        *this = trial;
    }
}

}  // namespace controls

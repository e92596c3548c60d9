#pragma once

// What a player asks of the front end, from whichever device: the keyboard now, a game controller
// later. The front end hears only these, never keys.
struct MenuAction {
    enum Kind { up, down, left, right, choose, back, digit, backspace, random };

    Kind kind;
    int number = 0;  // 0 to 9, for Kind::digit
};

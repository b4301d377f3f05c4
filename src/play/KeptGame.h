#pragma once

#include "puzzle/MoveHistory.h"
#include "puzzle/PuzzleBoard.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The longest kept file read back, the most rotations of each list in it, and the longest time.
constexpr std::size_t MaxKeptGameBytes = 1 << 20;
constexpr std::size_t MaxKeptMoves = 100000;
constexpr int64_t MaxKeptPlayedMs = 366LL * 24 * 60 * 60 * 1000;

// A game in play as it is kept from one run to the next.
struct TKeptGame {
    // The size, the target and the current board.
    TPuzzleBoard Board;
    TMoveRecord Moves;
    bool Helped = false;
    int64_t PlayedMs = 0;
};

// The kept game as text: a version line, then one line each for the size, the target, the
// scrambled and the current board (their tiles' arms in hexadecimal, row by row), the rotations
// made and those undone (each "c" or "r" and its arrow), the help and the time played.
std::string KeptGameText(const TKeptGame& game);

// The game the text keeps; nothing when it is not exactly such a text of this version, with
// sizes from 3 to 5, counts that agree with their lists and lie within the bounds above.
// Whether the boards and rotations make a game in play is the game's to decide.
std::optional<TKeptGame> ReadKeptGameText(std::string_view text);

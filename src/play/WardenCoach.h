#pragma once

#include "puzzle/PuzzleBoard.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The length of a way back from a game's scrambled board, and whether no way is shorter.
struct TPar {
    int32_t Moves = 0;
    bool Shortest = false;
};

// What the solver has told about the game in play: the par of its scrambled board, and the way
// back from the board it solved last, which hints play one move at a time.
class TWardenCoach {
public:
    // A new game or none: forgets the par, the way back and the help given.
    void Reset();
    // Counts the games; a solution that arrives for an earlier game is not learnt.
    uint32_t Game() const { return FGame; }
    void Learn(uint32_t game, const TPuzzleBoard& solved, std::vector<TArrow> moves);
    // The next move of the known way back, when the board is the one the way leads from.
    std::optional<TArrow> NextMove(const TPuzzleBoard& board) const;
    // The next move has been played on the board: the rest of the way leads from it now.
    void MovePlayed(const TPuzzleBoard& board);

    std::optional<TPar> Par;
    // A hint or "show me" has played a move of this game.
    bool Assisted = false;

private:
    uint32_t FGame = 0;
    std::optional<TPuzzleBoard> FFrom;
    std::vector<TArrow> FWay;
};

// "par 9" when no way is shorter, else "a way back in 23 moves".
std::string ParText(const TPar& par);

// An arrow in words: "Column" or "Row", its line, and "up", "down", "left" or "right".
struct TArrowWords {
    const char* Kind;
    int32_t Line;
    const char* Direction;
};
TArrowWords DescribeArrow(const TPuzzleBoard& board, TArrow arrow);
// For example "Column 2 up", as a hint is announced.
std::string MoveWords(const TPuzzleBoard& board, TArrow arrow);

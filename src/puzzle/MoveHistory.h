#pragma once

#include "puzzle/PuzzleBoard.h"

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

// A board to return to and the arrow whose slide shows the way there.
struct TRestore {
    TPuzzleBoard Board;
    TArrow Slide;
};

// A game's rotations as they are kept between runs: the board the scramble left, the rotations
// made from it in order, and those taken back, the next to redo first.
struct TMoveRecord {
    TPuzzleBoard Scrambled;
    std::vector<TArrow> Made;
    std::vector<TArrow> Undone;
};

// The rotations of the current game, for undo and redo, each with the boards before and after
// it. Each rotation is one step, also every repeat of a held arrow; a new rotation clears what
// could be redone.
class TMoveHistory {
public:
    void Record(TArrow arrow, const TPuzzleBoard& before, const TPuzzleBoard& after);
    // The board before the last rotation, reached by the opposite arrow, moving the rotation to
    // the redo list; nothing when there is nothing to undo.
    std::optional<TRestore> Undo();
    // The board after the last undone rotation, reached by its own arrow, moving it back to the
    // undo list; nothing when there is nothing to redo.
    std::optional<TRestore> Redo();
    void Clear();

    // The board before the first rotation, made or undone: current when there is none.
    const TPuzzleBoard& Origin(const TPuzzleBoard& current) const;
    // The record of this history, whose rotations lead to current.
    TMoveRecord Kept(const TPuzzleBoard& current) const;
    // The history that the record stands for, and the board its rotations made lead to; nothing
    // when an arrow is not one of the board's.
    static std::optional<std::pair<TMoveHistory, TPuzzleBoard>> Replay(const TMoveRecord& record);

    // The rotations that count for the game: made and not taken back.
    int32_t Moves() const { return static_cast<int32_t>(FDone.size()); }
    int32_t Redoable() const { return static_cast<int32_t>(FUndone.size()); }

private:
    struct TStep {
        TArrow Arrow;
        TPuzzleBoard Before;
        TPuzzleBoard After;
    };
    std::vector<TStep> FDone;
    std::vector<TStep> FUndone;
};

// The arrow that moves the same line the other way: up and down, left and right. Column arrows
// 1..cols move up and cols+1..2*cols down; row arrows 1..rows left and rows+1..2*rows right.
TArrow OppositeArrow(TArrow arrow, int32_t cols, int32_t rows);

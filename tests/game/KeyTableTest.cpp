#include "game/KeyTable.h"

#include <gtest/gtest.h>

namespace {

TEST(KeyTable, ShortcutsActOnlyWithTheModifiersTheyName)
{
    using TKind = TCommandKind;
    const struct {
        uint16_t Key;
        TShiftState Shift;
        std::optional<TKind> Expected;
    } cases[] = {{VK_F1, 0, TKind::Guide}, {VK_F1, ssShift, std::nullopt},
        {'Z', ssCtrl, TKind::Undo}, {'Z', ssCtrl | ssShift, TKind::Redo},
        {'Y', ssCtrl, TKind::Redo}, {'Y', ssCtrl | ssShift, std::nullopt},
        {'N', ssCtrl | ssShift, TKind::Start}, {'N', ssCtrl | ssSuper, std::nullopt},
        {'H', ssCtrl, TKind::Hint}, {'H', ssCtrl | ssShift, TKind::ShowMe},
        {'W', ssCtrl, TKind::Close}, {'Q', ssCtrl | ssAlt, std::nullopt}, {'A', 0, std::nullopt}};
    for (const auto& c : cases) {
        const std::optional<TCommand> command = CommandForKey(c.Key, c.Shift);
        EXPECT_EQ(command ? std::optional(command->Kind) : std::nullopt, c.Expected)
            << c.Key << " " << c.Shift;
    }
}

} // namespace

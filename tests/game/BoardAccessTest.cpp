#include "WindowAnnouncements.h"
#include "game/FormWarden.h"
#include "play/GameTestSupport.h"

namespace {

struct TSeen {
    AtkRole Role;
    bool Enabled;
    std::string Name;
};

class BoardAccessTest : public ::testing::Test {
protected:
    BoardAccessTest()
    {
        Random.FallBack(TestSeed());
        Application().Title = "Pathwarden";
        Form = std::make_unique<TFormWarden>(
            TFormWardenHooks {PW_BUILD_DIR "/", [this] { ++AboutShown; }, nullptr}, Random);
        Form->Play->Clock = [] { return int64_t {0}; };
        Window.Attach();
    }

    std::vector<AtkObject*> Children()
    {
        std::vector<AtkObject*> children;
        const gint n = atk_object_get_n_accessible_children(Area);
        for (gint i = 0; i < n; ++i) {
            AtkObject* child = atk_object_ref_accessible_child(Area, i);
            children.push_back(child);
            g_object_unref(child); // the area keeps it
        }
        return children;
    }
    static TSeen Seen(AtkObject* child)
    {
        AtkStateSet* states = atk_object_ref_state_set(child);
        const bool enabled = atk_state_set_contains_state(states, ATK_STATE_ENABLED) != FALSE;
        g_object_unref(states);
        return {atk_object_get_role(child), enabled, atk_object_get_name(child)};
    }
    static std::string Description(AtkObject* child) { return atk_object_get_description(child); }
    static void RunIdle()
    {
        while (g_main_context_iteration(nullptr, FALSE))
            ;
    }
    void Scramble()
    {
        while (Form->tmrWarden.Enabled())
            Form->tmrWarden.Tick();
    }

    TScriptedRandom Random;
    int32_t AboutShown = 0;
    std::unique_ptr<TFormWarden> Form;
    TWindowAnnouncements Window;
    AtkObject* const& Area = Window.Area;
    std::vector<std::string>& Announced = Window.Announced;
};

TEST_F(BoardAccessTest, IdleWindowShowsButtonsTitleAndBoardsAndTheirActionsClick)
{
    ASSERT_NE(Area, nullptr);
    const std::vector<AtkObject*> children = Children();
    ASSERT_EQ(children.size(), 10u);
    const TSeen expected[] = {{ATK_ROLE_PUSH_BUTTON, true, "Start"},
        {ATK_ROLE_PUSH_BUTTON, false, "Exit"}, {ATK_ROLE_PUSH_BUTTON, false, "Fewer columns"},
        {ATK_ROLE_PUSH_BUTTON, true, "More columns"}, {ATK_ROLE_PUSH_BUTTON, false, "Fewer rows"},
        {ATK_ROLE_PUSH_BUTTON, true, "More rows"}, {ATK_ROLE_LINK, true, "About Pathwarden"},
        {ATK_ROLE_PUSH_BUTTON, true, "New picture"}, {ATK_ROLE_IMAGE, true, "Play board"},
        {ATK_ROLE_IMAGE, true, "Preview board"}};
    for (size_t i = 0; i < children.size(); ++i) {
        const TSeen seen = Seen(children[i]);
        EXPECT_EQ(seen.Role, expected[i].Role) << i;
        EXPECT_EQ(seen.Name, expected[i].Name) << i;
        EXPECT_EQ(seen.Enabled, expected[i].Enabled) << i;
    }
    EXPECT_EQ(Description(children[8]), "Play board, 3 columns by 3 rows, 9 of 9 cells in place");
    EXPECT_EQ(Description(children[9]), "Press Start");
    EXPECT_EQ(atk_action_get_n_actions(ATK_ACTION(children[0])), 1);
    EXPECT_STREQ(atk_action_get_name(ATK_ACTION(children[0]), 0), "click");
    gint x = 0, y = 0, w = 0, h = 0;
    atk_component_get_extents(ATK_COMPONENT(children[0]), &x, &y, &w, &h, ATK_XY_WINDOW);
    EXPECT_EQ(w, 156);
    EXPECT_EQ(h, 28);

    Form->Update(); // the caption acts once it is shown
    const TPuzzleBoard dealt = Form->Play->Game.Board;
    EXPECT_TRUE(atk_action_do_action(ATK_ACTION(children[7]), 0));
    RunIdle();
    EXPECT_NE(Form->Play->Game.Board, dealt) << "the size caption deals a new picture";
    EXPECT_FALSE(atk_action_do_action(ATK_ACTION(children[1]), 0)); // Exit is disabled
    EXPECT_TRUE(atk_action_do_action(ATK_ACTION(children[3]), 0));
    EXPECT_TRUE(atk_action_do_action(ATK_ACTION(children[6]), 0));
    RunIdle();
    EXPECT_EQ(Form->Play->Game.Board.Cols(), 4);
    EXPECT_EQ(AboutShown, 1);
    EXPECT_EQ(Description(children[8]), "Play board, 4 columns by 3 rows, 12 of 12 cells in place");
}

TEST_F(BoardAccessTest, ArrowsComeWithAGameBoardsFollowItAndTheWinIsAnnounced)
{
    ASSERT_NE(Area, nullptr);
    EXPECT_TRUE(atk_action_do_action(ATK_ACTION(Children()[0]), 0));
    RunIdle();
    ASSERT_TRUE(Form->Play->Game.Playing());
    std::vector<AtkObject*> children = Children();
    ASSERT_EQ(children.size(), 22u);
    EXPECT_FALSE(Seen(children[10]).Enabled) << "no arrow during the scramble";
    Scramble();
    EXPECT_EQ(Announced,
        (std::vector<std::string> {
            "New game, 3 columns by 3 rows: scrambling", "Scrambled: your move"}));
    children = Children();
    const std::pair<size_t, const char*> arrows[] = {{10, "Column 1, up, key A"},
        {14, "Column 2, down, key E"}, {16, "Row 1, left, key 1"}, {21, "Row 3, right, key 6"}};
    for (const auto& [i, name] : arrows) {
        EXPECT_EQ(Seen(children[i]).Role, ATK_ROLE_PUSH_BUTTON);
        EXPECT_EQ(Seen(children[i]).Name, name);
        EXPECT_TRUE(Seen(children[i]).Enabled) << name;
    }
    EXPECT_EQ(Description(children[9]), "Target picture");
    EXPECT_TRUE(atk_action_do_action(ATK_ACTION(children[10]), 0));
    RunIdle();
    EXPECT_EQ(Form->Play->Game.History().Moves(), 1);
    EXPECT_TRUE(Form->tmrWarden.Enabled());
    AtkStateSet* states = atk_object_ref_state_set(children[10]);
    EXPECT_TRUE(atk_state_set_contains_state(states, ATK_STATE_PRESSED));
    g_object_unref(states);
    EXPECT_FALSE(Seen(children[11]).Enabled) << "another arrow during the move";
    for (int32_t i = 0; i < 4; ++i)
        Form->tmrWarden.Tick();

    for (const char key : SolvingKeys(Form->Play->Game.Board)) {
        Form->KeyPress(key);
        Form->KeyUp(0, 0);
        for (int32_t i = 0; i < 4; ++i)
            Form->tmrWarden.Tick();
    }
    ASSERT_TRUE(Form->Play->Game.Won());
    const int32_t moves = Form->Play->Game.History().Moves();
    EXPECT_EQ(Announced.back().rfind("Well done! Solved in " + std::to_string(moves)
                      + (moves == 1 ? " move" : " moves") + " in 0 seconds",
                  0),
        0U)
        << Announced.back();
    children = Children();
    EXPECT_EQ(children.size(), 10u);
    EXPECT_EQ(Description(children[8]), "Play board, 3 columns by 3 rows, 9 of 9 cells in place");
    EXPECT_EQ(Description(children[9]), "Well done");
}

// Tab moves the focus from item to item (the size caption has none), a click takes it away.
TEST_F(BoardAccessTest, TheFocusMovesOverTheItemsAsTheirFocusedState)
{
    ASSERT_NE(Area, nullptr);
    Form->Update();
    std::vector<std::string> changes;
    const std::vector<AtkObject*> children = Children();
    for (AtkObject* child : children)
        g_signal_connect(child, "state-change::focused",
            G_CALLBACK(+[](AtkObject* item, gchar*, gboolean on, gpointer data) {
                static_cast<std::vector<std::string>*>(data)->push_back(
                    (on != FALSE ? "+" : "-") + std::string(atk_object_get_name(item)));
            }),
            &changes);
    for (int32_t i = 0; i < 3; ++i) {
        Form->KeyDown(VK_TAB, 0);
        Form->KeyUp(VK_TAB, 0);
    }
    AtkStateSet* states = atk_object_ref_state_set(children[3]);
    EXPECT_TRUE(atk_state_set_contains_state(states, ATK_STATE_FOCUSED)
        && atk_state_set_contains_state(states, ATK_STATE_FOCUSABLE));
    g_object_unref(states);
    Form->MouseDown(TMouseButton::Left, ssLeft, 5, 5);
    EXPECT_EQ(changes,
        (std::vector<std::string> {"+About Pathwarden", "-About Pathwarden", "+New picture",
            "-New picture", "+More columns", "-More columns"}));
    for (AtkObject* child : children)
        g_signal_handlers_disconnect_by_data(child, &changes);
}

} // namespace

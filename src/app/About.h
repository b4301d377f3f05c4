#pragma once

#include "common/KelStd.h"
#include "platform/NativeDialog.h"
#include "platform/Timer.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// The about window, which doubles as the splash window: the game's name and version, the
// maker's lines, a link to the game's manual, an announcement line that changes every four
// seconds, a panel that explains the word behind the game's name, and the check box of the
// "show at start" setting. Made hidden once at start-up; shown modally any number of times.
//
// The announcements follow the clock from the window's making on, shown or not: each showing
// picks the cycle up where it stands. Only while shown does a timer run, in step with that cycle,
// so that the hidden window never wakes the program.
class TDlgAbout : public TNativeDialog {
public:
    // clock gives milliseconds of a steady clock; tests give their own.
    explicit TDlgAbout(std::function<int64_t()> clock = SteadyMilliseconds);

    static constexpr std::array<std::string_view, 4> AnnouncementLines {
        "Also from Larkfield: Tidewright",
        "Home of Pathwarden and Quillmarsh",
        "New from Larkfield: Emberloom",
        "Coming soon: Hedgecrown",
    };
    static constexpr std::array<TColour, 6> FlashColours {MakeColour(0, 0, 0),
        MakeColour(128, 0, 0), MakeColour(0, 0, 128), MakeColour(255, 0, 0), MakeColour(0, 0, 255),
        MakeColour(0, 128, 0)};

    static constexpr uint32_t FlashInterval = 4000;

    bool LinkHot() const { return FLinkHot; }
    void SetLinkHot(bool on);

    // What the link opens, and how; the game's manual with the desktop's default handler.
    std::string LinkAddress;
    std::function<bool(const std::string&)> OpenLink;

    TNativeBevel bvlMain {*this};
    TNativeLabel lblHeading {*this};
    TNativeLabel lblLFFreeware {*this};
    TNativeLabel lblCopyright {*this};
    TNativeLabel lblAuthorCredit {*this};
    TNativeShape rrectYellowVisit {*this};
    TNativeShape rrectYellowSeeDo {*this};
    TNativeLabel lblYellowSeeDo {*this};
    TNativeLabel lblYellowVisit {*this};
    TNativeShape rrcWhiteURL {*this};
    TNativePicture imgLogo {*this};
    TNativeLabel lblVersion {*this};
    TNativeLabel lblURL {*this};
    TNativeLabel lblHomeOf {*this};
    TNativeButton cmdOK {*this};
    TNativeButton cmdWhatIs {*this};
    TNativeCheckBox chkShowScreen {*this};
    TNativePanel pnlWhatIs {*this};
    TNativeLabel lblWardenInfo {pnlWhatIs};
    TNativeButton cmdIKnow {pnlWhatIs};
    TTimer tmrFlash;

private:
    void BuildLayout();
    void FormCreate();
    void FormShow();
    void FormMouseMove();
    void lblURLMouseMove();
    void tmrFlashTimer();
    void lblURLClick();
    void cmdWhatIsClick();
    void cmdIKnowClick();
    void chkShowScreenClick();
    void cmdOKClick();
    void FormClose();
    // Brings the announcement line to the clock's step of the cycle, a new line in one of the
    // flash colours when the step has moved on, and times the next step while shown.
    void FollowCycle();
    void ShowStep(int64_t step);
    void MatchFaceToTexts();

    std::function<int64_t()> FClock;
    int64_t FMadeAt = 0;
    int64_t FStep = -1;
    bool FLinkHot = false;
};

// Whether every text colour of the about window stands out on a face of the given colour: a
// contrast ratio of at least 3 to 1, enough for its large and bold lines.
bool AboutTextsReadableOn(TColour face);

// The address of the game's manual for a program in programFolder, as a file address: the copy
// beside the program, or the installed guide that its link there leads to.
std::string ManualAddress(const std::string& programFolder);

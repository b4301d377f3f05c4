#pragma once

#include "platform/NativeDialog.h"
#include "platform/Timer.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>

// The about window, which doubles as the splash window: the game's name and version, the
// maker's lines, a link to the game's manual, an announcement line that changes every four
// seconds, a panel that explains the word behind the game's name, and the check box of the
// "show at start" setting. Made hidden once at start-up; shown modally any number of times.
class TDlgAbout : public TNativeDialog {
public:
    TDlgAbout();

    // Shows the window modally until OK, Enter or the close box hides it.
    void Execute() { ShowModal(); }

    static constexpr std::array<std::string_view, 4> AnnouncementLines {
        "Also from Larkfield: Tidewright",
        "Home of Pathwarden and Quillmarsh",
        "New from Larkfield: Emberloom",
        "Coming soon: Hedgecrown",
    };
    static constexpr std::array<TColour, 6> FlashColours {MakeColour(0, 0, 0),
        MakeColour(128, 0, 0), MakeColour(0, 0, 128), MakeColour(255, 0, 0), MakeColour(0, 0, 255),
        MakeColour(0, 128, 0)};

    bool LinkHot() const { return FLinkHot; }
    void SetLinkHot(bool on);
    // Moves the announcement line on to the next text, in one of the flash colours.
    void FlashNext();

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

    bool FLinkHot = false;
};

// The address of the game's manual for a program in programFolder: the installed copy in the
// shared documentation folder beside the program's own folder, else the copy beside the
// program, as a file address.
std::string ManualAddress(const std::string& programFolder);

#include "About.h"

#include <string>

#include "ControlIds.h"
#include "LangRes.h"
#include "Resources.h"

namespace quillrun {

namespace {

constexpr char kClassName[] = "TAboutDlg";
constexpr int kClientWidth = 375;
constexpr int kClientHeight = 194;
// Bevel1: a line along the top edge of this box.
constexpr RECT kBevel = {68, 88, 68 + 301, 88 + 9};

// Space on a link sends it a left-button release at its corner, which
// opens it.
void OpenOnSpace(THyperLink &sender, char key) {
    if (key == ' ')
        SendMessageA(sender.Window(), WM_LBUTTONUP, 0, 0);
}

} // namespace

TAboutDlg::TAboutDlg(Outside &outside) : HomePage(outside), Email(outside) {}

TAboutDlg::~TAboutDlg() {
    Destroy();
    if (icon_)
        DestroyIcon(icon_);
}

bool TAboutDlg::Create(HWND owner) {
    return ModalForm::Create(kClassName, owner, LangRes::AboutCaption, kClientWidth,
                             kClientHeight);
}

void TAboutDlg::HomePageKeyPress(THyperLink &sender, char &key) { OpenOnSpace(sender, key); }

void TAboutDlg::EmailKeyPress(THyperLink &sender, char &key) { OpenOnSpace(sender, key); }

void TAboutDlg::CreateControls() {
    HFONT font = font_.Handle();
    // The windowed controls first, in tab order.
    CreateChild(hwnd_, "BUTTON", LangRes::OKBtnText,
                WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0, 260, 160, 111, 25, IDOK,
                font);
    auto makeLink = [this](THyperLink &link, int id, int top, const std::string &caption,
                           const std::string &href) {
        if (!link.Create(hwnd_, id, 76, top))
            return;
        link.SetFont(LangRes::LinkFontFace, 12, fsUnderline, THyperLink::Blue);
        link.SetCaption(caption);
        link.HREF = href;
    };
    makeLink(HomePage, IdHomePage, 108, LangRes::HomePageAddress, LangRes::HomePageAddress);
    makeLink(Email, IdEmail, 140, LangRes::ContactAddress,
             std::string("mailto:") + LangRes::ContactAddress);
    HomePage.OnKeyPress = [this](THyperLink &sender, char &key) { HomePageKeyPress(sender, key); };
    Email.OnKeyPress = [this](THyperLink &sender, char &key) { EmailKeyPress(sender, key); };

    icon_ = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr),
                                          MAKEINTRESOURCEA(IDI_QUILLBOX), IMAGE_ICON, Scale(48),
                                          Scale(48), LR_DEFAULTCOLOR));
    CreatePicture(hwnd_, IdAboutImage1, 12, 8, icon_);
    titleFont_ = Font("MS UI Gothic", 16, FW_BOLD);
    CreateLabel(hwnd_, IdAboutLabel1, 76, 16, LangRes::AboutProductName, titleFont_.Handle());
    CreateLabel(hwnd_, IdVersion, 88, 40, LangRes::AboutVersion, font);
    CreateLabel(hwnd_, IdCopyright, 88, 60, LangRes::AboutCopyright, font);
    CreateLabel(hwnd_, IdAboutLabel2, 76, 96, LangRes::AboutLabel2Text, font);
    CreateLabel(hwnd_, IdAboutLabel3, 76, 128, LangRes::AboutLabel3Text, font);
}

void TAboutDlg::BeforeShow() {
    // Centred on the screen at every showing: the box keeps nothing.
    RECT frame;
    GetWindowRect(hwnd_, &frame);
    MoveTo((GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left)) / 2,
           (GetSystemMetrics(SM_CYSCREEN) - (frame.bottom - frame.top)) / 2);
}

void TAboutDlg::Paint(HDC dc) {
    RECT bevel = {Scale(kBevel.left), Scale(kBevel.top), Scale(kBevel.right),
                  Scale(kBevel.bottom)};
    DrawEdge(dc, &bevel, EDGE_ETCHED, BF_TOP);
}

} // namespace quillrun

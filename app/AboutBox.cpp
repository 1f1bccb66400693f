#include "app/AboutBox.h"

#include "app/Unit1.h"
#include "platform/DialogSeam.h"
#include "platform/ShellExecute.h"

TAboutBox* AboutBox = nullptr;

namespace {
constexpr const char* FontName = "ＭＳ Ｐゴシック";
}

TAboutBox::TAboutBox() : TForm(Kind::Dialog) {
    SetCaption(AboutCaption);
    SetFormFont(FontName, 12);
    SetClientSize(298, 213);
    UseProgramIcon();
    Panel1 = std::make_unique<TPanel>(Client(), 8, 8, 281, 161);
    QWidget* panel = Panel1->Widget();
    ProgramIcon = std::make_unique<TImage>(panel, 40, 8, 32, 32);
    ProgramIcon->ShowProgramIcon();
    ProductName = std::make_unique<TLabel>(panel, 88, 16, MainCaption);
    Version = std::make_unique<TLabel>(panel, 88, 40, VersionText);
    Copyright = std::make_unique<TLabel>(panel, 52, 80, CopyrightText);
    Label2 = std::make_unique<TLabel>(panel, 164, 80, MakerName);
    Label2->SetLinkStyle(FontName, 12);
    NoWebSite = std::make_unique<TLabel>(panel, 52, 112, NoWebSiteText);
    Label1 = std::make_unique<TLabel>(panel, 196, 144, MakerPageName);
    Label1->SetLinkStyle(FontName, 12);
    OKButton = std::make_unique<TButton>(Client(), 111, 180, 75, 25, "OK");
    OKButton->SetDefault(true);

    OKButton->OnClick = [this] { SetModalResult(mrOk); };
    Label1->OnClick = [this] { Label1Click(); };
    Label2->OnClick = [this] { Label2Click(); };
}

void TAboutBox::Label1Click() {
    OpenHtmlManual();
}

void TAboutBox::Label2Click() {
    ShellExecute("", MakerMailAddress, "", SW_SHOW);
}

#pragma once
// The About box: program name, version and maker, with links to the maker's
// web page and mail address. Created once at start-up and reused.

#include "platform/TButton.h"
#include "platform/TForm.h"
#include "platform/TImage.h"
#include "platform/TLabel.h"
#include "platform/TPanel.h"

#include <memory>

inline constexpr const char* AboutCaption = "バージョン情報";
inline constexpr const char* VersionText = "Version1.0.3.0";
inline constexpr const char* CopyrightText = "Copyright (C) 2004";
inline constexpr const char* MakerName = "ヨナタマ工房";
// There is no web site; the link opens the manual the program installs.
inline constexpr const char* MakerPageName = "取扱説明書";
inline constexpr const char* NoWebSiteText = "Webサイトはありません。";
inline constexpr const char* MakerMailAddress = "mailto:info@yonatama.example";

class TAboutBox : public TForm {
public:
    TAboutBox();

    std::unique_ptr<TPanel> Panel1;
    std::unique_ptr<TImage> ProgramIcon;
    std::unique_ptr<TLabel> ProductName, Version, Copyright, Label2, Label1, NoWebSite;
    std::unique_ptr<TButton> OKButton;

    void Label1Click();
    void Label2Click();
};

// The one About box (set by the program's start-up).
extern TAboutBox* AboutBox;

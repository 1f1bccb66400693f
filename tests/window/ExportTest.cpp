// The two exports of the File menu: the lists as CSV files and the charts as
// PNG pictures, into a folder chosen through the dialog seam.

#include "WindowFixture.h"

#include "chart/Chart.h"
#include "platform/ControlHost.h"
#include "results/CsvExport.h"

#include <QImage>

#include <algorithm>

#include <fstream>
#include <iterator>

namespace {

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Records of a document written by CsvDocument, read back as RFC 4180 says.
std::vector<std::vector<std::string>> ParseCsv(const std::string& doc) {
    EXPECT_EQ(doc.substr(0, 3), "\xEF\xBB\xBF");
    std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
    bool quoted = false;
    for (std::size_t i = 3; i < doc.size(); ++i) {
        const char ch = doc[i];
        if (quoted && ch == '"' && i + 1 < doc.size() && doc[i + 1] == '"') {
            rows.back().back() += '"';
            ++i;
        } else if (ch == '"') {
            quoted = !quoted;
        } else if (!quoted && ch == ',') {
            rows.back().emplace_back();
        } else if (!quoted && ch == '\r' && i + 1 < doc.size() && doc[i + 1] == '\n') {
            ++i;
            rows.emplace_back(1);
        } else {
            rows.back().back() += ch;
        }
    }
    rows.pop_back();
    return rows;
}

// Every row of a list as it shows it, headed by the column captions.
std::vector<std::vector<std::string>> Shown(const TListView& list) {
    std::vector<std::vector<std::string>> rows(1);
    for (int c = 0; c < list.ColumnCount(); ++c)
        rows[0].push_back(list.ColumnCaption(c));
    for (int r = 0; r < list.ItemCount(); ++r) {
        rows.emplace_back();
        for (int c = 0; c < list.ColumnCount(); ++c)
            rows.back().push_back(list.ItemText(r, c));
    }
    return rows;
}

QImage PictureOf(TChart& chart) {
    auto* host = dynamic_cast<ControlHost*>(chart.Host());
    if (host == nullptr)
        return {};
    host->RepaintNow();
    return host->Image().convertToFormat(QImage::Format_RGB32);
}

QImage Load(const std::filesystem::path& path) {
    return QImage(QString::fromStdString(path.string()), "PNG")
        .convertToFormat(QImage::Format_RGB32);
}

} // namespace

class ExportTest : public WindowTest {
protected:
    void Export(TMenuItem* item, const std::filesystem::path& folder) {
        seam.fileAnswers.push_back(folder.string());
        item->Click();
        Pump();
    }
};

TEST_F(ExportTest, TheTwoItemsFollowSaveInTheFileMenu) {
    ASSERT_EQ(form->FileMenu->Count(), 7);
    const TMenuItem* order[] = {form->FileOpenMenu,       form->FileSaveMenu, form->FileCsvMenu,
                                form->FileChartImageMenu, form->N1,           form->FileStartMenu,
                                form->FileExitMenu};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(&form->FileMenu->Item(i), order[i]) << i;
    EXPECT_EQ(form->FileCsvMenu->Caption(), "CSVで書き出す(&C)...");
    EXPECT_EQ(form->FileChartImageMenu->Caption(), "グラフを画像で保存(&I)...");
}

TEST_F(ExportTest, CsvFilesHoldExactlyWhatTheListsShow) {
    FastRun(3000, 7);
    ASSERT_GT(form->BBListView->ItemCount(), 0);
    ASSERT_GT(form->KeizokuListView->ItemCount(), 0);
    Export(form->FileCsvMenu, dir);
    ASSERT_EQ(seam.fileRequests.size(), 1U);
    EXPECT_TRUE(seam.fileRequests[0].Folder);
    EXPECT_FALSE(seam.fileRequests[0].Save);
    EXPECT_TRUE(seam.messages.empty());
    const struct {
        const char* name;
        TListView* list;
        std::size_t rows;
    } files[] = {
        {"plays.csv", form->ResultListView.get(), 3000},
        {"bonuses.csv", form->BBListView.get(), 0},
        {"chains.csv", form->KeizokuListView.get(), 0},
    };
    for (const auto& f : files) {
        const auto rows = ParseCsv(ReadAll(dir / f.name));
        EXPECT_EQ(rows, Shown(*f.list)) << f.name;
        if (f.rows != 0) {
            EXPECT_EQ(rows.size(), f.rows + 1) << f.name;
        }
    }
    // Written from the records, the companion's way, the files are the same.
    EXPECT_EQ(ReadAll(dir / "plays.csv"), PlaysCsv(form->Records));
    EXPECT_EQ(ReadAll(dir / "bonuses.csv"), BonusesCsv(form->Records));
    EXPECT_EQ(ReadAll(dir / "chains.csv"), ChainsCsv(form->Records));
    EXPECT_EQ(Status(), "CSVファイルに書き出し完了");
}

TEST_F(ExportTest, SlowRunRowsAreExportedAsShown) {
    form->Machine.Random().Seed(3);
    SetInputs("40", "1", "4.0", "12.5");
    form->SpeedComboBox->SetItemIndex(1);
    std::vector<bool> enabledDuringRun;
    onWait = [&](int) {
        enabledDuringRun.push_back(form->FileCsvMenu->Enabled() ||
                                   form->FileChartImageMenu->Enabled());
    };
    form->StartButton->Click();
    Pump();
    ASSERT_FALSE(enabledDuringRun.empty());
    EXPECT_EQ(std::count(enabledDuringRun.begin(), enabledDuringRun.end(), true), 0);
    EXPECT_TRUE(form->FileCsvMenu->Enabled());
    EXPECT_TRUE(form->FileChartImageMenu->Enabled());
    ASSERT_FALSE(form->ResultListView->OwnerData());
    Export(form->FileCsvMenu, dir);
    EXPECT_EQ(ParseCsv(ReadAll(dir / "plays.csv")), Shown(*form->ResultListView));
    EXPECT_EQ(ParseCsv(ReadAll(dir / "plays.csv")).size(), 41U);
}

TEST_F(ExportTest, ARefusedOpenKeepsExportingTheRunStillShown) {
    FastRun(500, 2);
    const auto shown = Shown(*form->ResultListView);
    const std::filesystem::path foreign = dir / "foreign.sim";
    std::ofstream(foreign, std::ios::binary) << "not a run file at all";
    seam.fileAnswers.push_back(foreign.string());
    form->FileOpenMenu->Click();
    Pump();
    ASSERT_EQ(seam.messages.size(), 1U);
    // The run on screen keeps its records too.
    ASSERT_EQ(form->Records.Size(), 500U);
    const std::filesystem::path out = dir / "out";
    std::filesystem::create_directories(out);
    Export(form->FileCsvMenu, out);
    EXPECT_EQ(ParseCsv(ReadAll(out / "plays.csv")), shown);
}

TEST_F(ExportTest, CancelWritesNothing) {
    FastRun(200);
    const std::string before = Status();
    for (TMenuItem* item : {form->FileCsvMenu, form->FileChartImageMenu}) {
        seam.fileAnswers.push_back(std::nullopt);
        item->Click();
        Pump();
    }
    EXPECT_EQ(seam.fileRequests.size(), 2U);
    EXPECT_TRUE(std::filesystem::is_empty(dir));
    EXPECT_TRUE(seam.messages.empty());
    EXPECT_EQ(Status(), before);
}

TEST_F(ExportTest, AFolderThatCannotBeWrittenIsReported) {
    FastRun(200);
    const std::string before = Status();
    const std::filesystem::path missing = dir / "missing";
    const struct {
        TMenuItem* item;
        const char* first;
    } rows[] = {{form->FileCsvMenu, "plays.csv"}, {form->FileChartImageMenu, "SlumpChart.png"}};
    for (const auto& row : rows) {
        seam.messages.clear();
        Export(row.item, missing);
        ASSERT_EQ(seam.messages.size(), 1U) << row.first;
        EXPECT_EQ(seam.messages[0].Text,
                  std::string(ExportFailedText) + "\n" + (missing / row.first).string());
        EXPECT_EQ(Status(), before);
    }
    EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST_F(ExportTest, ChartPicturesAreTheChartsAsShownZoomIncluded) {
    FastRun(3000, 5);
    TChart& slump = *form->SlumpChart;
    slump.Repaint();
    const TRect r = slump.ChartRect;
    slump.MouseDown(mbLeft, 0, r.Left + 40, r.Top + 10);
    slump.MouseMove(0, r.Left + 100, r.Top + 40);
    slump.MouseMove(0, r.Left + 160, r.Bottom - 10);
    slump.MouseUp(mbLeft, 0, r.Left + 160, r.Bottom - 10);
    Pump();
    ASSERT_TRUE(slump.Zoomed());
    Export(form->FileChartImageMenu, dir);
    EXPECT_TRUE(seam.messages.empty());
    EXPECT_TRUE(seam.fileRequests.back().Folder);
    const struct {
        const char* name;
        TChart* chart;
        int width, height;
    } pictures[] = {
        {"SlumpChart.png", form->SlumpChart.get(), 597, 217},
        {"SlumpChart2.png", form->SlumpChart2.get(), 597, 149},
        {"KeizokuChart.png", form->KeizokuChart.get(), 305, 182},
    };
    for (const auto& p : pictures) {
        const QImage saved = Load(dir / p.name);
        ASSERT_FALSE(saved.isNull()) << p.name;
        EXPECT_EQ(saved.width(), p.width) << p.name;
        EXPECT_EQ(saved.height(), p.height) << p.name;
        EXPECT_TRUE(saved == PictureOf(*p.chart)) << p.name;
    }
    const QImage zoomed = Load(dir / "SlumpChart.png");
    // Undo the zoom: the next picture is the whole run again, not the zoomed one.
    slump.MouseDown(mbLeft, 0, r.Left + 160, r.Bottom - 10);
    slump.MouseMove(0, r.Left + 100, r.Top + 40);
    slump.MouseMove(0, r.Left + 40, r.Top + 10);
    slump.MouseUp(mbLeft, 0, r.Left + 40, r.Top + 10);
    Pump();
    ASSERT_FALSE(slump.Zoomed());
    Export(form->FileChartImageMenu, dir);
    const QImage whole = Load(dir / "SlumpChart.png");
    EXPECT_FALSE(whole == zoomed);
    EXPECT_TRUE(whole == PictureOf(slump));
    EXPECT_EQ(Status(), "グラフの画像を保存完了");
}

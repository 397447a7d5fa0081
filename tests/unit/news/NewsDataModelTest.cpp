#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/UIThreadWindow.h"
#include "news/INewsView.h"
#include "news/NewsDataModel.h"
#include "unit/app/ScratchFolder.h"
#include "unit/calendar/PumpMessages.h"
#include "unit/net/DemoServiceSuite.h"

namespace {

// Records what the model hands its window; like the window, it shows the last picture it was given.
class CRecordingView : public INewsView {
public:
    void SetNewsList(const std::vector<NewsItem>& items) override { lists.push_back(items); }
    void SetNewsPicture(size_t index, const std::wstring& path) override {
        pictures.push_back(index);
        shown = path;
    }
    std::wstring GetShownPicture() override { return shown; }

    std::vector<std::vector<NewsItem>> lists;
    std::vector<size_t> pictures;
    std::wstring shown;
};

// The test thread is the UI thread; pictures come from the sample-data service, which also answers the
// requests in the variant a test chooses.
class NewsDataModelTest : public CDemoServiceSuite {
protected:
    void SetUp() override {
        ASSERT_TRUE(s_service->IsRunning() && s_http->IsInitialised() && m_folder.IsCreated());
        ASSERT_TRUE(CUIThreadWindow::GetInstance()->Create());
    }

    // Asks the service for an answer in the variant and waits until the model has had it.
    void Request(const std::wstring& variant) {
        const std::wstring control = L"/control/answer?path=/super/news.php";
        s_service->Get(control + L"&variant=" + variant);
        const std::string before = s_service->Get(control);
        m_model.RequestNews();
        PumpUntil([&] { return s_service->Get(control) != before; }, 5000);
        PumpUntil([] { return false; }, 300);
    }

    static std::string Entry(const std::string& path) {
        return "{\"src\":\"http://127.0.0.1:" + std::to_string(s_service->Port()) + path + "\"}";
    }
    static std::string Picture(int n) { return Entry("/super/pic/news" + std::to_string(n) + ".png"); }
    void Parse(const std::string& data) {
        m_model.ParseNews({kHttpTaskFinished, 200, "{\"errno\":0,\"data\":[" + data + "]}"});
    }

    size_t PictureFiles() const {
        const std::filesystem::directory_iterator files{std::filesystem::path(m_folder.Path())};
        return static_cast<size_t>(std::distance(begin(files), end(files)));
    }

    CScratchFolder m_folder{L"news-model"};
    CRecordingView m_view;
    CNewsDataModel m_model{&m_view, s_http.get(), s_service->Url(L""), m_folder.Path()};
};

TEST_F(NewsDataModelTest, FiveEntriesGiveThreeWithPicturesAndErrorAnswersChangeNothing) {
    Request(L"five");
    ASSERT_EQ(m_view.lists.size(), 1u);
    ASSERT_EQ(m_model.GetItems().size(), 3u);
    ASSERT_TRUE(PumpUntil([&] { return m_view.pictures.size() == 3; }, 5000));
    for (const NewsItem& item : m_model.GetItems()) {
        EXPECT_EQ(CScratchFolder::ReadFileText(item.pictureFile).substr(1, 3), "PNG") << item.src.c_str();
    }
    const std::vector<NewsItem> kept = m_model.GetItems();
    for (const wchar_t* ignored : {L"errno", L"error", L"garbage"}) {
        Request(ignored);
        EXPECT_EQ(m_view.lists.size(), 1u) << ignored;
    }
    EXPECT_EQ(m_model.GetItems(), kept);
}

// A picture still downloading for a replaced list reaches nobody and is deleted; refreshes keep at most the
// current pictures and the one on screen, and the end leaves none.
TEST_F(NewsDataModelTest, LatePicturesOfAReplacedListAreDroppedAndNoPictureOutlivesTheModel) {
    Parse(Entry("/test/slow?delay=1500"));
    Parse(Picture(1) + "," + Picture(2));
    PumpUntil([] { return false; }, 2500);
    std::sort(m_view.pictures.begin(), m_view.pictures.end());
    EXPECT_EQ(m_view.pictures, (std::vector<size_t>{0, 1})) << "the two items' pictures, in either order";
    EXPECT_EQ(PictureFiles(), 2u);
    for (int refresh = 0; refresh < 20; ++refresh) {
        const size_t before = m_view.pictures.size();
        Parse(Picture(refresh % 3 + 1) + "," + Picture((refresh + 1) % 3 + 1));
        ASSERT_TRUE(PumpUntil([&] { return m_view.pictures.size() == before + 2; }, 5000)) << refresh;
    }
    EXPECT_LE(PictureFiles(), 3u);
    m_model.Shutdown();
    EXPECT_EQ(PictureFiles(), 0u);
}

} // namespace

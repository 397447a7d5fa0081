#pragma once

#include <string>
#include <vector>

#include "news/NewsItem.h"

// What the news model hands its window, always on the UI thread.
class INewsView {
public:
    // A new accepted list (at most three items, possibly empty); pictures follow one by one.
    virtual void SetNewsList(const std::vector<NewsItem>& items) = 0;
    // The picture of items[index] has been downloaded to path.
    virtual void SetNewsPicture(size_t index, const std::wstring& path) = 0;
    // The picture file on screen now, empty when none: the model deletes pictures only once they are off it.
    virtual std::wstring GetShownPicture() = 0;

protected:
    ~INewsView() = default;
};

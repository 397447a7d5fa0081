#pragma once

#include <string>

// One headline of the news carousel.
struct NewsItem {
    std::wstring src;         // address of the picture
    std::wstring url;         // page opened by a click on the picture
    std::wstring title;       // headline shown over the picture
    std::wstring pictureFile; // local copy of the picture; empty until its download has finished

    // An item without a picture address has nothing to download and is shown without a picture.
    bool NeedsPicture() const { return !src.empty() && pictureFile.empty(); }

    bool operator==(const NewsItem&) const = default;
};

#include "calendar/LunarText.h"

#include "calendar/LunarGlyphTable.h"

namespace {

enum Mark { kLeapMark, kYearMark, kMonthMark, kDayMark, kHourMark, kFestivalMark };

class CGlyphWriter {
public:
    CGlyphWriter(char* buffer, uint32_t* written) : m_buffer(buffer), m_written(written) {}

    // `count` glyphs from `first`: one section entry of that width.
    void Glyphs(int first, int count = 1) {
        for (int i = first; i < first + count; ++i) {
            Byte(static_cast<char>(LunarGlyphTable[i][0]));
            Byte(static_cast<char>(LunarGlyphTable[i][1]));
        }
    }
    void Byte(char value) { m_buffer[(*m_written)++] = value; }
    // Stem, branch and the mark of what they count.
    void Pillar(int stem, int branch, int mark) {
        Glyphs(kStemGlyphs + stem);
        Glyphs(kBranchGlyphs + branch);
        Glyphs(kMarkGlyphs + mark);
    }

private:
    char* m_buffer;
    uint32_t* m_written;
};

} // namespace

void ComposeLunarText(LunarText text, const LunarInfo& info, char* buffer, uint32_t* written) {
    CGlyphWriter out(buffer, written);
    switch (text) {
    case LunarText::Date:
        if (info.IsLeapMonth()) {
            out.Glyphs(kMarkGlyphs + kLeapMark);
        }
        out.Glyphs(kMonthGlyphs + info.LunarMonth() - 1);
        out.Glyphs(kMarkGlyphs + kMonthMark);
        out.Glyphs(kDayGlyphs + (info.LunarDay() - 1) * 2, 2);
        break;
    case LunarText::EightWord:
        out.Pillar(info.YearStem(), info.YearBranch(), kYearMark);
        out.Pillar(info.MonthStem(), info.MonthBranch(), kMonthMark);
        out.Pillar(info.DayStem(), info.DayBranch(), kDayMark);
        out.Pillar(info.HourStem(), info.HourBranch(), kHourMark);
        break;
    case LunarText::Zodiac:
        out.Glyphs(kZodiacGlyphs + info.Zodiac());
        break;
    case LunarText::SolarTerm:
        if (info.HasSolarTerm()) {
            out.Glyphs(kSolarTermGlyphs + info.SolarTerm() * 2, 2);
        }
        break;
    case LunarText::Festival:
        if (info.IsGregorianFestival()) {
            out.Glyphs(kGregorianFestivalGlyphs + info.GregorianFestival() * 2, 2);
            out.Glyphs(kMarkGlyphs + kFestivalMark);
        }
        if (info.IsGregorianFestival() && info.IsLunarFestival()) {
            out.Byte(' ');
        }
        if (info.IsLunarFestival()) {
            out.Glyphs(kLunarFestivalGlyphs + info.LunarFestival() * 2, 2);
        }
        break;
    }
}

#include "feeds/releasematch.h"
#include "support/coretest.h"

#include <thread>
#include <vector>

// Titles as groups write them, one rule a row: the episodes each holds, and numbers that are none (or another group's).
TEST(ReleaseMatch, EpisodesAndGroups)
{
    const struct
    {
        const char *rule, *title, *group;
        std::vector<qint64> holds, lacks;
    } rows[] = {
        // clang-format off
        {"bracketed", "【喵萌奶茶屋】★04月新番★[某作品][09][1080p][简体][招募翻译]", "喵萌奶茶屋", {9}, {4, 1080}},
        {"other group", "【喵萌奶茶屋】★04月新番★[某作品][09][1080p][简体][招募翻译]", "桜都字幕组", {}, {9}},
        {"group in Traditional", "[櫻都字幕組] 某作品 [05][1080p]", "樱都字幕组", {5}, {}},
        {"group in Simplified", "[樱都字幕组] 某作品 [05][1080p]", "櫻都字幕組", {5}, {}},
        {"group, case and blanks aside", "[Loli House] Title - 09 [WebRip 1080p HEVC-10bit AAC]", "lolihouse", {9}, {10}},
        {"第…话", "[喵萌奶茶屋] 某作品 第０９话", "", {9}, {}},
        {"Chinese numerals", "[某组] 某作品 第十二話 [1080p]", "", {12}, {10, 2}},
        {"hundreds, zero", "[某组] 某作品 第一百零三回", "", {103}, {}},
        {"两", "[某组] 某作品 第两百集", "", {200}, {2}},
        {"〇", "[某组] 某作品 第一〇三话", "", {103}, {}},
        {"numerals only when marked", "[某组] 某作品 第二季 [05] 二十", "", {5}, {2, 20}},
        {"season 季", "[某组] 某作品 第2季 [05]", "", {5}, {2}},
        {"EP, episode-", "show-episode-07-sub", "", {7}, {}},
        {"unit after a dash", "show-episode-07-720p", "", {7}, {720}},
        {"SxxEyy", "Title S02E09 1080p WEB H.264-GRP", "", {9}, {2, 264}},
        {"NxNN", "[G] Title 2x07 [720p]", "", {7}, {2}},
        {"of", "[G] Title 01 of 12 [480p]", "", {1}, {12}},
        {"END", "[Group] Title - 12END [1080p]", "", {12}, {}},
        {"marked over a batch", "[某组][某作品][01-12] 第五集重制", "", {5}, {4, 6}},
        {"dash over bracket and bare", "[G] Title 7 - 03 [11]", "", {3}, {7, 11}},
        {"a dash before a word", "[G] Title - 300 Days Later - 04 (1080p)", "", {4}, {300}},
        {"tags in capitals", "[G] Title - 100 Nights - 05 WEB 1080p", "", {5}, {100}},
        {"last bare", "[G] 某作品2 09 [1080p]", "", {9}, {2}},
        {"resolution never", "[G] Title [09][1080]", "", {9}, {1080}},
        {"version", "[Group] Title - 09v2 [1080p]", "", {9}, {2}},
        {"range", "[喵萌奶茶屋] 某作品 [01-12 合集][1080p]", "", {1, 9, 12}, {0, 13}},
        {"range with wave dash", "[某作品][01〜12][BDRip 1080p]", "", {1, 12}, {13}},
        {"E01-E12", "[G] Title [E01-E12][BD]", "", {1, 12}, {13}},
        {"TV全集", "[G][某作品][01-24TV全集][1080P]", "", {1, 24}, {25}},
        {"versions in a range", "[G] Title - 01v2-04 [BD]", "", {1, 4}, {5}},
        {"spaced range", "[Group] Title (01 - 12) [BD 1080p]", "", {1, 12}, {}},
        {"spaced range from a zero", "[G] Title 001 - 150 完结", "", {1, 150}, {151}},
        {"no spaced range of two widths", "[G] Title 24 - 100 [1080p]", "", {100}, {24, 50}},
        {"chained range", "Title S01E04-05-06 720p", "", {4, 6}, {1, 7}},
        {"marks at both ends", "[G] 某作品 第1话-第3话 [1080p]", "", {1, 2, 3}, {4}},
        {"a whole season", "[G][某作品][全12集][BDRip]", "", {1, 12}, {0, 13}},
        {"a whole season in numerals", "[G] 某作品 全十二話", "", {1, 12}, {13}},
        {"a range of seasons", "[G] 某作品 第1-2季 [1080p]", "", {}, {1, 2}},
        {"list", "[G] Title - 01+02 [1080p]", "", {1, 2}, {3}},
        {"bare list", "[G] Title 03 & 05", "", {3, 5}, {4}},
        {"backwards", "[G] Title [12-01]", "", {}, {1, 12}},
        {"wider than a season", "[G] Title [05][01-9999]", "", {5}, {1, 9999}},
        {"a season at most", "[G] Title 第1-2000话", "", {1, 2000}, {2001}},
        {"more in all", "[G] Title [1-1500][3001-4600]", "", {}, {1, 3001}},
        {"group's number", "[Studio-7][某作品][03]", "", {3}, {7}},
        {"group from a digit", "[0x10 Subs] Title - 05", "", {5}, {10}},
        {"no group, an episode", "[07][某作品][720p]", "", {7}, {}},
        {"year in brackets", "[G][Title][2019][05]", "", {5}, {2019}},
        {"bare year", "[G] Title 2019 [1080p]", "", {}, {2019}},
        {"codecs apart", "[G] Title 05 [E-AC-3][H 264]", "", {5}, {3, 264}},
        {"bits, channels", "Title 03 [BD 1080p Hi10P 10 bit FLAC 5.1 AAC2.0]", "", {3}, {0, 1, 2, 5, 10}},
        {"decimal", "[Group] Title - 12.5 [1080p]", "", {}, {12, 5}},
        {"dots between words", "Title.S01E03.1080p.WEB", "", {3}, {1080}},
        {"dashes", "[G] Title – 05 [12]", "", {5}, {12}},
        {"×", "[G] Title 05 [1280×720]", "", {5}, {1280, 720}},
        {"blanks as _", "[G]_Title_-_05_(27)", "", {5}, {27}},
        {"date", "[Group] Title - 09 [2024-04-12]", "", {9}, {4, 10, 12, 2024}},
        {"CRC", "[Group] Title - 10 (1080p) [A1B2C309].mkv", "", {10}, {9}},
        {"CRC of digits", "[G] Title [04][00000007]", "", {4}, {7}},
        {"absolute after", "[G] Title - 03 (27)", "", {3}, {27}},
        {"season's count after", "[G] Title - 27 (03)", "", {3}, {27}},
        {"copy number", "[G] Title 10 (2)", "", {10}, {2}},
        {"absolute beside SxxEyy", "Title S03E02 026 720p", "", {2, 26}, {3}},
        {"file name", "07 - A Tale 2", "", {7}, {2}},
        {"word joined", "[G] Title 05 [2-disc]", "", {5}, {2}},
        {"word joined, marked", "S01E04-The Long Night [720p]", "", {4}, {}},
        {"ordinal season", "[G] Title 3rd Season 08", "", {8}, {3}},
        {"movie", "[G] Title Movie 2 [1080p]", "", {}, {2}},
        {"SP", "[G] Title SP02 [1080p]", "", {}, {2}},
        {"OVA", "[G] Title OVA - 01", "", {}, {1}},
        {"特别篇", "[G][某作品][特別篇][01][1080p]", "", {}, {1}},
        {"special and episode word", "[G] Title OVA EP03", "", {}, {3}},
        {"episode zero", "[Group] Title - 00 [1080p]", "", {0}, {}},
        // clang-format on
    };
    for (const auto &[rule, title, group, holds, lacks] : rows) {
        for (const qint64 episode : holds)
            EXPECT_TRUE(releaseMatches(u(title), episode, u(group))) << rule << ": " << title << " holds " << episode;
        for (const qint64 episode : lacks)
            EXPECT_FALSE(releaseMatches(u(title), episode, u(group))) << rule << ": " << title << " lacks " << episode;
    }
}

TEST(ReleaseMatch, NamesTheWorkInEitherScript)
{
    const QString title = u("[某组] 進擊的某作品 / Some Show - 05 [1080p]");
    EXPECT_TRUE(titleNamesWork(title, u("进击的某作品"), QString()));
    EXPECT_TRUE(titleNamesWork(title, u("别的作品"), u("some  SHOW")));
    EXPECT_FALSE(titleNamesWork(title, u("别的作品"), u("Other Show")));
    EXPECT_TRUE(titleNamesWork(title, QString(), u(" ")));
}

TEST(ReleaseMatch, GroupsComparedOnManyThreadsAtOnce)
{
    std::vector<std::thread> threads;
    std::vector<int> matched(4);
    for (int &count : matched) {
        threads.emplace_back([&count] {
            for (int i = 0; i < 50; ++i)
                count += releaseMatches(u("[櫻都字幕組][某作品][05]"), 5, u("樱都字幕组"));
        });
    }
    for (std::thread &t : threads)
        t.join();
    EXPECT_EQ(matched, std::vector<int>(4, 50));
}

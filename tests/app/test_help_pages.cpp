// The help pages in resources/help: the three languages hold the same pages
// with the same anchors, every link lands on an existing page and anchor, the
// contents page reaches the theory pages, and the theory pages carry their
// formulas and the worked numbers students check against the calculator.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const char* const kLanguages[] = {"fr", "en", "de"};

fs::path HelpDir(const std::string& lang) {
  return fs::path(ROVANEL_SOURCE_DIR) / "resources" / "help" / lang;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::set<std::string> PageNames(const std::string& lang) {
  std::set<std::string> names;
  if (!fs::is_directory(HelpDir(lang))) return names;
  for (const auto& entry : fs::directory_iterator(HelpDir(lang))) {
    if (entry.path().extension() == ".html") names.insert(entry.path().filename().string());
  }
  return names;
}

// Values of an attribute (href, id) in a page, quoted with " or '.
std::vector<std::string> Attributes(const std::string& html, const std::string& name) {
  const std::regex re("\\b" + name + "\\s*=\\s*(\"([^\"]*)\"|'([^']*)')", std::regex::icase);
  std::vector<std::string> values;
  for (auto it = std::sregex_iterator(html.begin(), html.end(), re); it != std::sregex_iterator();
       ++it) {
    values.push_back((*it)[2].matched ? (*it)[2].str() : (*it)[3].str());
  }
  return values;
}

TEST(HelpPages, EveryLanguageHoldsTheSamePagesAndAnchors) {
  const auto en = PageNames("en");
  for (const char* page : {"index.html", "michelson.html", "interference.html", "grating.html"})
    EXPECT_TRUE(en.count(page)) << "en/" << page;
  for (const std::string lang : kLanguages) {
    EXPECT_EQ(PageNames(lang), en) << lang;
    for (const std::string& page : en) {
      const std::string html = ReadFile(HelpDir(lang) / page);
      // The page says its language, for the browser's hyphenation and search.
      EXPECT_NE(html.find("<html lang=\"" + lang + "\">"), std::string::npos)
          << lang << "/" << page;
      const auto ids = Attributes(html, "id");
      const auto enIds = Attributes(ReadFile(HelpDir("en") / page), "id");
      EXPECT_EQ(std::set<std::string>(ids.begin(), ids.end()),
                std::set<std::string>(enIds.begin(), enIds.end()))
          << lang << "/" << page;
    }
  }
}

TEST(HelpPages, EveryLinkResolvesInsideItsLanguage) {
  for (const std::string lang : kLanguages) {
    for (const std::string& page : PageNames(lang)) {
      const std::string html = ReadFile(HelpDir(lang) / page);
      EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos) << lang << "/" << page;
      EXPECT_EQ(html.find("<script"), std::string::npos) << lang << "/" << page;
      bool linksHome = page == "index.html";
      for (const std::string& href : Attributes(html, "href")) {
        const std::string where = lang + "/" + page + " -> " + href;
        ASSERT_FALSE(href.empty()) << where;
        EXPECT_EQ(href.find(':'), std::string::npos) << "not a relative link: " << where;
        EXPECT_EQ(href.find('/'), std::string::npos) << "outside the folder: " << where;
        const auto hash = href.find('#');
        const std::string file = hash == std::string::npos ? href : href.substr(0, hash);
        const fs::path target = HelpDir(lang) / (file.empty() ? page : file);
        ASSERT_TRUE(fs::is_regular_file(target)) << where;
        if (file == "index.html") linksHome = true;
        if (hash != std::string::npos) {
          const auto ids = Attributes(ReadFile(target), "id");
          const std::string anchor = href.substr(hash + 1);
          EXPECT_NE(std::find(ids.begin(), ids.end(), anchor), ids.end()) << where;
        }
      }
      EXPECT_TRUE(linksHome) << lang << "/" << page << " has no link back to index.html";
    }
  }
}

TEST(HelpPages, IndexLinksToTheTheoryPages) {
  for (const std::string lang : kLanguages) {
    const auto hrefs = Attributes(ReadFile(HelpDir(lang) / "index.html"), "href");
    for (const char* page : {"michelson.html", "interference.html", "grating.html"}) {
      EXPECT_NE(std::find(hrefs.begin(), hrefs.end(), page), hrefs.end()) << lang << " " << page;
    }
  }
}

TEST(HelpPages, TheoryPagesHoldFormulasAndWorkedNumbers) {
  // Each entry: page, then alternatives of which at least one must appear
  // (decimal point or comma). The numbers are worked out by hand:
  // 2·1000·316.4/1000 = 632.80 nm, 2·316.4·1/1000² + 2·0.1/1000 µm = 0.83 nm;
  // 632.8e-9·0.20/100e-6 = 1.2656 mm; 632.8e-9·0.20/0.6e-3 = 0.211 mm;
  // exp(-0.5) = 0.6065; 800 + (2047-1400)·0.5 = 1123.5 nm.
  struct Expect {
    const char* page;
    std::vector<std::string> anyOf;
  };
  const Expect cases[] = {
      {"michelson.html", {"F = 2V / λ"}},
      {"michelson.html", {"λ = 2V / F"}},
      {"michelson.html", {"Δλ = 2V·ΔF / F<sup>2</sup> + 2·ΔV / F"}},
      {"michelson.html", {"632.80", "632,80"}},
      {"michelson.html", {"0.83 nm", "0,83 nm"}},
      {"interference.html", {"sin θ = x / √(x<sup>2</sup> + L<sup>2</sup>)"}},
      {"interference.html", {"sinc<sup>2</sup>(α) · cos<sup>2</sup>(π d sin θ / λ)"}},
      {"interference.html", {"[sin(Nβ) / (N sin β)]<sup>2</sup>"}},
      {"interference.html", {"exp(−2x<sup>2</sup> / w<sup>2</sup>)"}},
      {"interference.html", {"1.2656", "1,2656"}},
      {"interference.html", {"0.211 mm", "0,211 mm"}},
      {"interference.html", {"0.607", "0,607"}},
      {"grating.html", {"m λ = d (sin α + sin β)"}},
      {"grating.html", {"500 nm"}},
      {"grating.html", {"350 nm"}},
      {"grating.html", {"1123.5", "1123,5"}},
  };
  for (const std::string lang : kLanguages) {
    for (const Expect& c : cases) {
      const std::string html = ReadFile(HelpDir(lang) / c.page);
      bool found = false;
      for (const std::string& text : c.anyOf) found = found || html.find(text) != std::string::npos;
      EXPECT_TRUE(found) << lang << "/" << c.page << " lacks " << c.anyOf.front();
    }
  }
}

}  // namespace

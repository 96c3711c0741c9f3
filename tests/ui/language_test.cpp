#include "ui/language.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

std::unique_ptr<GLanguage> Table(i16 language) {
  std::unique_ptr<GLanguage> table(GLanguage::Create());
  table->SetLanguage(language);
  return table;
}

TEST(Language, NewTableServesEnglishAndSwitchesBothWays) {
  std::unique_ptr<GLanguage> table(GLanguage::Create());
  EXPECT_STREQ(table->GetString(kTextNewGame), "New game");
  // Accented letters are code page 437 bytes; trailing blanks belong to
  // the text.
  const struct {
    i16 language, id;
    const char* text;
  } cases[] = {
      {kLanguageEnglish, kTextCancel, "Cancel"},
      {kLanguageEnglish, kTextEnterName, "Enter your name:"},
      {kLanguageEnglish, kTextAboutUpper, "#~Dorrimac\n#c(00ff0000)v 1.2#cd\n\nDeveloped by\n"},
      {kLanguageEnglish, kTextAboutLower, "\n#~Games for\nWindows, MacOS,\nPocketPC, Symbian,\nPalmOS & Linux\n"},
      {kLanguageFrench, kTextAnonymous, "Anonyme "},
      {kLanguageFrench, kTextCancel, "Annuler "},
      {kLanguageFrench, kTextFrench, "Fran\x87" "ais"},
      {kLanguageFrench, kTextDemo, "D\x82mo"},
      {kLanguageFrench, kTextMaster, "Ma\x8Ctre "},
      {kLanguageFrench, kTextPrev, "Pr\x82" "c\x82" "d."},
      {kLanguageFrench, kTextBestResult, "Le meilleur r\x82sultat"},
      {kLanguageFrench, kTextStartNewGame, "Commencer le nouveau jeu?"},
      {kLanguageFrench, kTextAboutUpper, "#~Dorrimac\n#c(00ff0000)v 1.2#cd\n\nD\x82velopp\x82 par \n"},
      {kLanguageFrench, kTextAboutLower, "\n#~Games for\nWindows, MacOS,\nPocketPC, Symbian,\nPalmOS et Linux\n"},
      {kLanguageEnglish, kTextNewGame, "New game"},
      {kLanguageEnglish, kTextFrench, "French"},
  };
  for (const auto& c : cases) {
    table->SetLanguage(c.language);
    EXPECT_STREQ(table->GetString(c.id), c.text) << "language " << c.language << " id " << c.id;
  }
}

TEST(Language, EveryIdHasASafeTextInLettersTheFontHasAndNoneIsNull) {
  const std::string accents = "\x82\x83\x85\x87\x88\x8A\x8C\x93";
  for (i16 language : {kLanguageEnglish, kLanguageFrench}) {
    auto table = Table(language);
    for (i16 id = 1; id <= kLastTextId; ++id) {
      const std::string text = table->GetString(id);
      EXPECT_FALSE(text.empty()) << "language " << language << " id " << id;
      for (unsigned char c : text) {
        if (c < 0x80) continue;
        EXPECT_TRUE(language == kLanguageFrench && accents.find(static_cast<char>(c)) != std::string::npos)
            << "byte " << int(c) << " in text " << id << " of language " << language;
      }
    }
    for (i16 id : {0, 74, 99, -1, 100, 32767, -32768}) {
      ASSERT_NE(table->GetString(id), nullptr);
      EXPECT_STREQ(table->GetString(id), "") << id;
    }
    // The contest text is a format taking the skill, the score and a code.
    const std::string contest = table->GetString(kTextContest);
    std::vector<std::string> conversions;
    for (size_t at = contest.find('%'); at != std::string::npos; at = contest.find('%', at + 1)) {
      conversions.push_back(contest.substr(at, contest[at + 1] == 'l' ? 3 : 2));
    }
    EXPECT_EQ(conversions, (std::vector<std::string>{"%s", "%ld", "%s"})) << language;
  }
  // Any other language leaves the table empty, still without nulls.
  auto none = Table(2);
  ASSERT_NE(none->GetString(kTextOk), nullptr);
  EXPECT_STREQ(none->GetString(kTextOk), "");
}

// The help text's paragraphs are justified lines "#-", tab, text, blank,
// empty line; the closing block is centred.
std::vector<std::string> Paragraphs(const std::string& help) {
  std::vector<std::string> paragraphs;
  size_t at = 0;
  while (help.compare(at, 3, "#-\t") == 0) {
    const size_t end = help.find(" \n\n", at);
    if (end == std::string::npos) break;
    paragraphs.push_back(help.substr(at, end - at));
    at = end + 3;
  }
  return paragraphs;
}

TEST(Language, HelpTextStructure) {
  const std::string en = Table(kLanguageEnglish)->GetString(kTextHelpText);
  const std::string fr = Table(kLanguageFrench)->GetString(kTextHelpText);
  const auto enParagraphs = Paragraphs(en);
  ASSERT_EQ(enParagraphs.size(), 6u);
  ASSERT_EQ(Paragraphs(fr).size(), 5u);  // the fourth and fifth are one
  EXPECT_NE(enParagraphs[1].find("Your task is to remove the balls from the pool-table"),
            std::string::npos);
  EXPECT_EQ(enParagraphs[2].rfind("#-\tWhen all the balls are removed you go to the next level.", 0), 0u);
  EXPECT_NE(en.find("\n#~#c(00FF0000)Good Luck!\n\n"), std::string::npos);
  EXPECT_NE(fr.find("\n#~#c(00FF0000)Bonne Chance!#cd\n\n"), std::string::npos);
  for (const std::string* text : {&en, &fr}) {
    for (const auto& p : Paragraphs(*text)) EXPECT_EQ(p.find('\n'), std::string::npos) << p;
    // No inline-image marker, page end or doubled tab slips into the text.
    EXPECT_EQ(text->find('^'), std::string::npos);
    EXPECT_EQ(text->find("#!"), std::string::npos);
    EXPECT_EQ(text->find("\t\t"), std::string::npos);
    EXPECT_NE(text->find("Dorrimac"), std::string::npos);
    EXPECT_EQ(text->back(), '\n');
  }
}

}  // namespace

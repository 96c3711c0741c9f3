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

TEST(Language, NewTableServesEnglishAndSwitches) {
  std::unique_ptr<GLanguage> table(GLanguage::Create());
  EXPECT_STREQ(table->GetString(kTextNewGame), "New game");
  EXPECT_STREQ(table->GetString(kTextCancel), "Cancel");
  EXPECT_STREQ(table->GetString(kTextEnterName), "Enter your name:");

  table->SetLanguage(kLanguageFrench);
  EXPECT_STREQ(table->GetString(kTextAnonymous), "Anonyme ");
  EXPECT_STREQ(table->GetString(kTextCancel), "Annuler ");
  EXPECT_STREQ(table->GetString(kTextFrench), "Fran\x87" "ais");
  EXPECT_STREQ(table->GetString(kTextDemo), "D\x82mo");
  EXPECT_STREQ(table->GetString(kTextMaster), "Ma\x8Ctre ");
  EXPECT_STREQ(table->GetString(kTextPrev), "Pr\x82" "c\x82" "d.");
  EXPECT_STREQ(table->GetString(kTextBestResult), "Le meilleur r\x82sultat");
  EXPECT_STREQ(table->GetString(kTextStartNewGame), "Commencer le nouveau jeu?");

  table->SetLanguage(kLanguageEnglish);
  EXPECT_STREQ(table->GetString(kTextNewGame), "New game");
  EXPECT_STREQ(table->GetString(kTextFrench), "French");
}

TEST(Language, EveryIdHasATextAndNoneIsNull) {
  for (i16 language : {kLanguageEnglish, kLanguageFrench}) {
    auto table = Table(language);
    for (i16 id = 1; id <= kLastTextId; ++id) {
      EXPECT_NE(table->GetString(id)[0], 0) << "language " << language << " id " << id;
    }
    for (i16 id : {0, 74, 99, -1, 100, 32767, -32768}) {
      ASSERT_NE(table->GetString(id), nullptr);
      EXPECT_STREQ(table->GetString(id), "") << id;
    }
  }
  // Any other language leaves the table empty, still without nulls.
  auto none = Table(2);
  ASSERT_NE(none->GetString(kTextOk), nullptr);
  EXPECT_STREQ(none->GetString(kTextOk), "");
}

TEST(Language, OnlyLettersTheFontHasOutsideAscii) {
  const std::string accents = "\x82\x83\x85\x87\x88\x8A\x8C\x93";
  for (i16 language : {kLanguageEnglish, kLanguageFrench}) {
    auto table = Table(language);
    for (i16 id = 1; id <= kLastTextId; ++id) {
      for (unsigned char c : std::string(table->GetString(id))) {
        if (c < 0x80) continue;
        EXPECT_EQ(language, kLanguageFrench) << "non-ASCII English text " << id;
        EXPECT_NE(accents.find(static_cast<char>(c)), std::string::npos)
            << "byte " << int(c) << " in text " << id;
      }
    }
  }
}

TEST(Language, AboutTexts) {
  auto en = Table(kLanguageEnglish);
  auto fr = Table(kLanguageFrench);
  EXPECT_STREQ(en->GetString(kTextAboutUpper), "#~Dorrimac\n#c(00ff0000)v 1.2#cd\n\nDeveloped by\n");
  EXPECT_STREQ(fr->GetString(kTextAboutUpper),
               "#~Dorrimac\n#c(00ff0000)v 1.2#cd\n\nD\x82velopp\x82 par \n");
  EXPECT_STREQ(en->GetString(kTextAboutLower),
               "\n#~Games for\nWindows, MacOS,\nPocketPC, Symbian,\nPalmOS & Linux\n");
  EXPECT_STREQ(fr->GetString(kTextAboutLower),
               "\n#~Games for\nWindows, MacOS,\nPocketPC, Symbian,\nPalmOS et Linux\n");
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
  const auto frParagraphs = Paragraphs(fr);
  ASSERT_EQ(enParagraphs.size(), 6u);
  ASSERT_EQ(frParagraphs.size(), 5u);
  for (const auto& p : enParagraphs) EXPECT_EQ(p.find('\n'), std::string::npos) << p;
  for (const auto& p : frParagraphs) EXPECT_EQ(p.find('\n'), std::string::npos) << p;
  EXPECT_NE(enParagraphs[1].find("Your task is to remove the balls from the pool-table"),
            std::string::npos);
  EXPECT_EQ(enParagraphs[2].rfind("#-\tWhen all the balls are removed you go to the next level.", 0),
            0u);
  EXPECT_NE(en.find("\n#~#c(00FF0000)Good Luck!\n\n"), std::string::npos);
  EXPECT_NE(fr.find("\n#~#c(00FF0000)Bonne Chance!#cd\n\n"), std::string::npos);
  for (const std::string* text : {&en, &fr}) {
    // No inline-image marker, page end or doubled tab slips into the text.
    EXPECT_EQ(text->find('^'), std::string::npos);
    EXPECT_EQ(text->find("#!"), std::string::npos);
    EXPECT_EQ(text->find("\t\t"), std::string::npos);
    EXPECT_NE(text->find("Dorrimac"), std::string::npos);
    EXPECT_EQ(text->back(), '\n');
  }
}

TEST(Language, ContestTextTakesSkillScoreAndCode) {
  for (i16 language : {kLanguageEnglish, kLanguageFrench}) {
    const std::string text = Table(language)->GetString(kTextContest);
    std::vector<std::string> conversions;
    for (size_t at = text.find('%'); at != std::string::npos; at = text.find('%', at + 1)) {
      conversions.push_back(text.substr(at, text[at + 1] == 'l' ? 3 : 2));
    }
    EXPECT_EQ(conversions, (std::vector<std::string>{"%s", "%ld", "%s"})) << language;
  }
}

}  // namespace

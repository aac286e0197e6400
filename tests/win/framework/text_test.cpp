#include <windows.h>

#include <gtest/gtest.h>

#include "framework/Classes.h"
#include "framework/Graphics.h"
#include "framework/Text.h"

TEST(TextConversion, JapaneseAndAstralCharactersRoundTrip) {
    const std::string utf8 = "常時前 ＭＳ Ｐゴシック （Ver 2.12.13) 🙂";
    std::wstring wide = Widen(utf8);
    EXPECT_EQ(wide.substr(0, 3), L"\u5E38\u6642\u524D");
    EXPECT_EQ(wide.substr(wide.size() - 2), std::wstring(L"\xD83D\xDE42"));  // surrogate pair
    EXPECT_EQ(Narrow(wide), utf8);
    EXPECT_EQ(Widen(""), L"");
    EXPECT_EQ(Narrow(L""), "");
    // Embedded NULs are kept: sizes, not terminators, count.
    EXPECT_EQ(Widen(std::string("a\0b", 3)).size(), 3u);
}

TEST(TextConversion, MalformedInputBecomesReplacementCharacters) {
    std::wstring w = Widen("a\xFF" "b\xE3\x81");  // stray byte, truncated sequence
    ASSERT_GE(w.size(), 3u);
    EXPECT_EQ(w.front(), L'a');
    EXPECT_NE(w.find(L'\xFFFD'), std::wstring::npos);
    EXPECT_NE(w.find(L'b'), std::wstring::npos);
    std::string n = Narrow(std::wstring(L"x\xD800y"));  // unpaired surrogate
    EXPECT_EQ(n, "x\xEF\xBF\xBDy");
}

TEST(TextConversion, SystemMessagesComeWithoutTrailingBreaks) {
    std::string m = SystemErrorMessage(ERROR_ACCESS_DENIED);
    ASSERT_FALSE(m.empty());
    EXPECT_NE(m.back(), '\n');
    EXPECT_NE(m.back(), '\r');
    EXPECT_NE(m.back(), ' ');
    EXPECT_EQ(SystemErrorMessage(0xDEAD0001), "error " + std::to_string(0xDEAD0001ul));
}

TEST(TextStringList, TextJoinsWithCrLfAndSplitsEveryLineBreak) {
    TStringList list{"常時前", "フリー"};
    EXPECT_EQ(list.Text(), "常時前\r\nフリー");
    list.SetText("a\r\nb\nc\rd\r\n");
    EXPECT_EQ(list.Lines(), (std::vector<std::string>{"a", "b", "c", "d"}));
    list.SetText("x\r\n\r\ny");
    EXPECT_EQ(list.Lines(), (std::vector<std::string>{"x", "", "y"}));
    list.SetText("");
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Text(), "");
}

TEST(TextStringList, EditingRaisesOnChangeOncePerOperation) {
    TStringList list;
    int changes = 0;
    list.OnChange.handler = [&](TObject* sender) {
        EXPECT_EQ(sender, &list);
        ++changes;
    };
    EXPECT_EQ(list.Add("a"), 0);
    EXPECT_EQ(list.Add("c"), 1);
    list.Insert(1, "b");
    list.Put(2, "C");
    EXPECT_EQ(changes, 4);
    EXPECT_EQ(list.Text(), "a\r\nb\r\nC");
    EXPECT_EQ(list.IndexOf("b"), 1);
    EXPECT_EQ(list.IndexOf("z"), -1);
    list.Delete(0);
    EXPECT_EQ(list[0], "b");
    list.Clear();
    EXPECT_EQ(changes, 6);
    list.Clear();  // already empty: nothing changes
    EXPECT_EQ(changes, 6);

    EXPECT_THROW(list[0], EListError);
    EXPECT_THROW(list.Delete(0), EListError);
    EXPECT_THROW(list.Insert(1, "x"), EListError);
    EXPECT_THROW(list.Put(-1, "x"), EListError);
}

TEST(TextStringList, AssignCopiesTheLinesNotTheHandler) {
    TStringList a{"1", "2"};
    int aChanges = 0;
    a.OnChange.handler = [&](TObject*) { ++aChanges; };
    TStringList b;
    int bChanges = 0;
    b.OnChange.handler = [&](TObject*) { ++bChanges; };
    b.Assign(a);
    EXPECT_EQ(bChanges, 1);
    EXPECT_EQ(b, a);
    b.Add("3");
    EXPECT_EQ(a.Count(), 2);  // a separate copy
    EXPECT_EQ(aChanges, 0);

    TStringList c(a);
    EXPECT_FALSE(c.OnChange);
    EXPECT_EQ(c.Lines(), a.Lines());

    TFont font;
    EXPECT_THROW(b.Assign(font), EFrameworkError);
}

#include <gtest/gtest.h>

#include "ShapingText.h"

TEST(ToPuaObject, InstanceIsCreatedOnceAndKeepsItsTable) {
    CToPua* first = CToPua::GetInstance();
    ASSERT_NE(first, nullptr);
    const auto* table = &first->m_wordMap;
    CToPua* second = CToPua::GetInstance();
    EXPECT_EQ(first, second);
    EXPECT_EQ(&second->m_wordMap, table);
    EXPECT_EQ(second->m_wordMap.size(), 62u);
}

TEST(ToPuaObject, GetWStringStopsAtTheFirstZero) {
    EXPECT_EQ(CToPua::GetWString(0), L"");
    EXPECT_EQ(CToPua::GetWString(0x1820, 0, 0x1821), codes({0x1820}));
    EXPECT_EQ(CToPua::GetWString(0, 0x1820), L"");
    EXPECT_EQ(CToPua::GetWString(0x1820, 0x1821, 0x1822, 0, 0x1823, 0x1824),
              codes({0x1820, 0x1821, 0x1822}));
}

TEST(ToPuaObject, GetWStringKeepsEveryParameterInOrder) {
    EXPECT_EQ(CToPua::GetWString(0xE801), codes({0xE801}));
    EXPECT_EQ(CToPua::GetWString(0x41, 0x1820), codes({0x41, 0x1820}));
    EXPECT_EQ(CToPua::GetWString(1, 2, 3), codes({1, 2, 3}));
    EXPECT_EQ(CToPua::GetWString(1, 2, 3, 4), codes({1, 2, 3, 4}));
    EXPECT_EQ(CToPua::GetWString(1, 2, 3, 4, 5), codes({1, 2, 3, 4, 5}));
    // Values outside any block are copied as they are.
    EXPECT_EQ(CToPua::GetWString(0xEAB6, 0x1820, 0x10FFFF, 0x20, 0x202F, 0xE827),
              codes({0xEAB6, 0x1820, 0x10FFFF, 0x20, 0x202F, 0xE827}));
}

#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// The three groups the application knows, seeded on its first launch and named everywhere by
// their flags. The recent group lists every note with n_isRecent = 1, whatever its n_group.
struct BuiltInNoteGroup {
    int32_t f_order;
    std::string_view f_flag;
    std::string_view f_imageName;
};

inline constexpr std::string_view kGroupRecentFlag = "group_recent";
inline constexpr std::string_view kGroupWorkFlag = "group_work";
inline constexpr std::string_view kGroupLifeFlag = "group_life";

inline constexpr std::array<BuiltInNoteGroup, 3> kBuiltInNoteGroups{{
    {1, kGroupRecentFlag, "file_recent"},
    {2, kGroupWorkFlag, "file_work2"},
    {3, kGroupLifeFlag, "file_home"},
}};

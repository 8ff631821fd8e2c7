#include <gtest/gtest.h>

#include "notes/store/NoteFile.h"
#include "notes/store/NoteObject.h"

using platform::Date;

namespace {

// The groups only hold images; a stand-in that is never looked at keeps the tests off the drawing
// layer.
NoteFile::ImagePtr fakeImage() {
    auto owner = std::make_shared<int>(0);
    return NoteFile::ImagePtr(owner, reinterpret_cast<platform::Image*>(owner.get()));
}

}  // namespace

TEST(NoteObject, DefaultsAreAbsentOrZero) {
    NoteObject note;
    EXPECT_EQ(note.n_id(), 0);
    EXPECT_EQ(note.n_isRecent(), 0);
    EXPECT_FALSE(note.n_title());
    EXPECT_FALSE(note.n_text());
    EXPECT_FALSE(note.n_date());
    EXPECT_FALSE(note.n_summary());
    EXPECT_FALSE(note.n_author());
    EXPECT_FALSE(note.n_group());
}

TEST(NoteObject, TitleConstructorSetsTitleAndDateOnly) {
    const Date when = Date::dateWithTimeIntervalSince1970(1700000000.5);
    NoteObject note("ᠲᠡᠮᠲᠡᠭᠯᠡᠯ", when);
    EXPECT_EQ(note.n_title(), "ᠲᠡᠮᠲᠡᠭᠯᠡᠯ");
    EXPECT_EQ(note.n_date(), when);
    EXPECT_EQ(note.n_id(), 0);
    EXPECT_FALSE(note.n_text());
    EXPECT_FALSE(note.n_group());

    NoteObject untitled(std::nullopt, std::nullopt);
    EXPECT_FALSE(untitled.n_title());
    EXPECT_FALSE(untitled.n_date());
}

TEST(NoteObject, CopiesAreIndependent) {
    NoteObject note;
    note.setN_id(7);
    note.setN_text("<p>a</p>");
    note.setN_group("group_work");
    note.setN_summary("");

    NoteObject copy = note;
    copy.setN_text("<p>b</p>");
    copy.setN_isRecent(1);
    copy.setN_summary(std::nullopt);

    EXPECT_EQ(note.n_text(), "<p>a</p>");
    EXPECT_EQ(note.n_isRecent(), 0);
    // An empty summary is present, unlike an absent one.
    EXPECT_EQ(note.n_summary(), "");
    EXPECT_EQ(copy.n_id(), 7);
    EXPECT_EQ(copy.n_group(), "group_work");
    EXPECT_FALSE(copy.n_summary());
}

TEST(NoteFile, DefaultsAreAbsentOrZero) {
    NoteFile group;
    EXPECT_FALSE(group.note());
    EXPECT_FALSE(group.thumbImage());
    EXPECT_FALSE(group.fullImage());
    EXPECT_FALSE(group.f_imageName());
    EXPECT_FALSE(group.f_title());
    EXPECT_FALSE(group.f_date());
    EXPECT_FALSE(group.f_summary());
    EXPECT_FALSE(group.f_author());
    EXPECT_FALSE(group.f_flag());
    EXPECT_EQ(group.f_order(), 0);
    EXPECT_EQ(group.f_noteCount(), 0);
}

TEST(NoteFile, TitleConstructorMakesAnUndatedNote) {
    auto thumb = fakeImage();
    auto full = fakeImage();
    NoteFile group("work", 4.5f, thumb, full);

    ASSERT_TRUE(group.note());
    EXPECT_EQ(group.note()->n_title(), "work");
    EXPECT_FALSE(group.note()->n_date());
    EXPECT_EQ(group.thumbImage(), thumb);
    EXPECT_EQ(group.fullImage(), full);
    EXPECT_FALSE(group.f_title());
}

TEST(NoteFile, CopiesShareImagesButNotTheNote) {
    auto thumb = fakeImage();
    NoteFile group("life", 0, thumb, nullptr);
    group.setF_flag("group_life");
    group.setF_order(3);

    NoteFile copy = group;
    NoteObject changed = *copy.note();
    changed.setN_text("x");
    copy.setNote(changed);
    copy.setF_flag("group_work");

    EXPECT_FALSE(group.note()->n_text());
    EXPECT_EQ(group.f_flag(), "group_life");
    EXPECT_EQ(copy.f_order(), 3);
    EXPECT_EQ(copy.thumbImage(), thumb);
    EXPECT_EQ(thumb.use_count(), 3);
}

#pragma once

// The names of the editor toolbar's items. Six have no button; the last two select every button
// or none.
inline constexpr char RichTextEditorToolbarFont[] = "toolbaritem.font";
inline constexpr char RichTextEditorToolbarBold[] = "toolbaritem.bold";
inline constexpr char RichTextEditorToolbarItalic[] = "toolbaritem.italic";
inline constexpr char RichTextEditorToolbarSubscript[] = "toolbaritem.subscript";
inline constexpr char RichTextEditorToolbarSuperscript[] = "toolbaritem.superscript";
inline constexpr char RichTextEditorToolbarStrikeThrough[] = "toolbaritem.strikeThrough";
inline constexpr char RichTextEditorToolbarUnderline[] = "toolbaritem.underline";
inline constexpr char RichTextEditorToolbarRemoveFormat[] = "toolbaritem.removeFormat";
inline constexpr char RichTextEditorToolbarJustifyLeft[] = "toolbaritem.justifyLeft";
inline constexpr char RichTextEditorToolbarJustifyCenter[] = "toolbaritem.justifyCenter";
inline constexpr char RichTextEditorToolbarJustifyRight[] = "toolbaritem.justifyRight";
inline constexpr char RichTextEditorToolbarJustifyFull[] = "toolbaritem.justifyFull";
inline constexpr char RichTextEditorToolbarH1[] = "toolbaritem.h1";
inline constexpr char RichTextEditorToolbarH2[] = "toolbaritem.h2";
inline constexpr char RichTextEditorToolbarH3[] = "toolbaritem.h3";
inline constexpr char RichTextEditorToolbarTextColor[] = "toolbaritem.textColor";
inline constexpr char RichTextEditorToolbarBackgroundColor[] = "toolbaritem.backgroundColor";
inline constexpr char RichTextEditorToolbarUnorderedList[] = "toolbaritem.unorderedList";
inline constexpr char RichTextEditorToolbarOrderedList[] = "toolbaritem.orderedList";
inline constexpr char RichTextEditorToolbarHorizontalRule[] = "toolbaritem.horizontalRule";
inline constexpr char RichTextEditorToolbarIndent[] = "toolbaritem.indent";
inline constexpr char RichTextEditorToolbarOutdent[] = "toolbaritem.outdent";
inline constexpr char RichTextEditorToolbarInsertImage[] = "toolbaritem.insertImage";
inline constexpr char RichTextEditorToolbarInsertLink[] = "toolbaritem.insertLink";
inline constexpr char RichTextEditorToolbarRemoveLink[] = "toolbaritem.removeLink";
inline constexpr char RichTextEditorToolbarQuickLink[] = "toolbaritem.quickLink";
inline constexpr char RichTextEditorToolbarUndo[] = "toolbaritem.undo";
inline constexpr char RichTextEditorToolbarRedo[] = "toolbaritem.redo";
inline constexpr char RichTextEditorToolbarViewSource[] = "toolbaritem.viewSource";
inline constexpr char RichTextEditorToolbarParagraph[] = "toolbaritem.paragraph";
inline constexpr char RichTextEditorToolbarAll[] = "toolbaritem.all";
inline constexpr char RichTextEditorToolbarNone[] = "toolbaritem.none";

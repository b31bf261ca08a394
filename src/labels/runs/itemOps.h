// The editing operations of the label layout: deleting, selecting, aligning,
// restacking and duplicating items, the internal clipboard and the system
// clipboard's item flavours, the one-level undo, and the routines that give the
// selected items a new text, picture or colour. Every item owns its data by
// value, so copies (duplicates, clipboard, undo) never share it.
#pragma once

#include <cstdint>

#include "labels/labelDoc.h"
#include "platform/quickdraw/picture.h"
#include "platform/textedit.h"

void deleteLabelItem(int32_t index);
void deleteSelectedItems();
// Empties any item list (the document's, the clipboard's, the undo copy) with its sheet.
void deleteAllItems(LabelItemList& list, LabelSheet& sheet);
void selectLabelItem(int32_t flag, int32_t index);
void selectAllItems(int32_t flag);
int32_t allFlag();
// The kinds of the selected items as bits (kept in curIteTyp): 1 barcode, 2
// picture, 4 text, 8 any other; 1 in single-code mode with nothing selected.
int32_t searchItemTypes();
// 1 centres the selected items horizontally on the label, 2 vertically, 3 both.
void alignSelectedItems(int32_t mode);
// One item to the bottom (above a background in slot 0) or to the top.
void objToBottom(int32_t index);
void putObjOnTop(int32_t index);
// The selected items to the bottom or the top, keeping their order.
void sendToBack();
void bringToFront(int32_t index);
void duplicateLabelItem(int32_t index);
void duplicateLabelItems();

// The internal clipboard: a copy of the selected items. Nothing reads it back
// into the document: paste has no effect.
void putOnClipboard();
void pasteObjs();
// One item to the system clipboard as 'LABL' (its record) and, when it has
// data, 'EXTR' (that data).
void CopyLabelItem(int32_t index);
void CutLabelItem(int32_t index);
// Clears the system clipboard and puts the picture as 'PICT'; nothing for none.
void putPICTonClip(const qd::Picture* picture);

// The undo copy: putUndoBuffer keeps the document as it is; doUndo swaps the
// document and the copy, so a second undo redoes.
void putUndoBuffer();
void doUndo();
// A front end that shows the selected item's settings registers here what it
// does when an undo has put other items under them: it loads the selection
// again, or what OK and the fields change would be the item loaded before.
struct ItemOpsHooks {
    void (*selectionReplaced)() = nullptr;
};
extern ItemOpsHooks gItemOpsHooks;
// True when an item is selected: what a delete, cut or restack would change.
bool anyItemSelected();
// The document as a gesture in the layout found it. It becomes the undo copy
// only if the gesture changed the items or the sheet (a selection alone is no
// change), so that a click that merely selects keeps the last edit undoable.
class UndoPoint {
  public:
    UndoPoint();
    void keepIfChanged();

  private:
    LabelItemList items_;
    LabelSheet sheet_;
};

// The field's text (at most 4096 bytes, ended by two NULs) becomes the data of
// every selected text item.
void setTextItems(const platform::TERec& field);
// The picture becomes the data of every selected picture or background item.
void setPictureItems(const qd::Picture* picture);
// The colour panel's four fields from the selected items' colour set, or from
// the label background with nothing selected.
void setColourItems(int32_t update);
// Percentages of cyan, yellow, magenta and black of a QuickDraw colour; a grey
// becomes black alone.
void convertToCMYK(int32_t* c, int32_t* y, int32_t* m, int32_t* k, int32_t red, int32_t green,
                   int32_t blue);

// The layout window's command keys (with the Command key held).
void doCmdKeyDisp(char key);

#include "AppTestKit.h"

namespace app_test {

IMPLEMENT_DYNCREATE(NoteDocument)
IMPLEMENT_DYNCREATE(NoteView)
IMPLEMENT_DYNCREATE(NoteFrame)

const ResourceSet& NoteResources() {
    static const ResourceSet resources = [] {
        ResourceSet set;
        set.menus[kResource] = {
            MenuItem::Popup("&File",
                            {MenuItem::Item("&New", afx::ID_FILE_NEW),
                             MenuItem::Item("&Save", afx::ID_FILE_SAVE), MenuItem::Separator(),
                             MenuItem::Item("Recent File", afx::ID_FILE_MRU_FILE1, true),
                             MenuItem::Separator(), MenuItem::Item("E&xit", afx::ID_APP_EXIT)}),
            MenuItem::Popup("&Edit", {MenuItem::Item("&Undo", afx::ID_EDIT_UNDO)}),
        };
        set.strings = {
            {kResource, "Notes\n\nNote\n\n\nNotes.Document\nNote Document"},
            {afx::AFX_IDS_APP_TITLE, "Notes"},
            {afx::AFX_IDS_IDLEMESSAGE, "Ready"},
            {afx::ID_FILE_NEW, "Create a new document\nNew"},
            {afx::ID_FILE_SAVE, "Save the active document\nSave"},
            {afx::ID_INDICATOR_CAPS, "CAP"},
            {afx::ID_INDICATOR_NUM, "NUM"},
            {afx::ID_INDICATOR_SCRL, "SCRL"},
        };
        return set;
    }();
    return resources;
}

}  // namespace app_test

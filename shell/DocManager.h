#pragma once
// What the framework does around a document's own save hook: the prompt to
// save a modified document, Save and Save As with their file dialog, and the
// messages for a failed open or save.

#include <string>

#include "platform/Types.h"

namespace qov {

class CDocument;
class CSingleDocTemplate;

// Asks "%1 への変更を保存しますか?" when `doc` is modified. False when the user
// cancelled or the save failed: whatever asked must not go on.
bool SaveModified(CDocument& doc);
// Save: to the document's path, or through Save As when it has none or the
// file is read-only.
bool DoFileSave(CDocument& doc);
// Saves to `pathName`, or, when it is null, to a path asked in the save
// dialog (proposing the path or the title with the template's extension).
// With `replace` the document takes the new path.
bool DoSave(CDocument& doc, const std::string* pathName, bool replace = true);
// The open or save dialog with the template's filter and "すべてのﾌｧｲﾙ (*.*)";
// `fileName` is the proposed name on entry and the chosen path on return.
bool DoPromptFileName(std::string& fileName, bool openFileDialog, const CSingleDocTemplate& tmpl);

// The failure messages, with the file name and the document's reason.
void ReportOpenFailure(const CDocument& doc, const std::string& path);
void ReportSaveFailure(const CDocument& doc, const std::string& path);

}  // namespace qov

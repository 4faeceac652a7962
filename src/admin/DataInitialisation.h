#pragma once

class AppContext;
class QString;

// The toolbar's 初期化: after two warnings answered yes, deletes every customer and history
// entry, resets the class names of both axes and deletes the customer pictures. Settings, the
// sender data, the password and the postal data stay. True when the book was touched, so the
// class names and the list must be reloaded.
bool IBtnFormatClick(AppContext &context);

// Deletes every file of the picture folder; read-only files and sub-folders stay.
void DeletePictureFiles(const QString &pictureFolder);

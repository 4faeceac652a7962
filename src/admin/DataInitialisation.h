#pragma once

class AppContext;
class QString;

// The toolbar's 初期化: after two warnings answered yes (no is what Enter gives) and the offer of
// a backup (made unless declined), deletes every customer and history
// entry, resets the class names of both axes and deletes the customer pictures. Settings, the
// sender data, the password and the postal data stay; the user is told what went. True when the
// book was touched, so the class names and the list must be reloaded.
bool IBtnFormatClick(AppContext &context);

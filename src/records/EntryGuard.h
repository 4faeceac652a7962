#pragma once

class QComboBox;
class QLineEdit;
class QString;
class GuardedPlainTextEdit;

// Guards a text field of the customer records: FilterKey's four characters cannot be typed,
// and text that code page 932 cannot hold is refused with a message when typed or pasted.
// Text pasted beyond the edit's length limit is cut with a message. With `dropFilteredKeys`,
// FilterKey's four characters are also taken out of pasted text (with a message), for fields
// that store without them.
void GuardEntry(QLineEdit *edit, bool dropFilteredKeys = false);
// The same for a reading field, which also holds what comes in as half-width katakana.
void GuardReading(QLineEdit *edit, bool dropFilteredKeys = false);
// The same for the text part of an editable combo box (a fixed list gets the key filter only).
void GuardEntry(QComboBox *combo);
void GuardEntry(GuardedPlainTextEdit *memo);
// Shows a stored text in a field guarded above, whole even when it is longer than the field's
// limit (imports take any length), so a later save does not cut it.
void ShowStoredText(QLineEdit *edit, const QString &text);

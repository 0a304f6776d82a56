#pragma once

class QLineEdit;

namespace kelt {

// Gives `box` an accessible text of kelt's own. Qt 6.4's line edit spins for ever when assistive
// technology asks for the word (or sentence) at the very end of its text, freezing the program
// under a screen reader; this one answers at the end with nothing, and otherwise as Qt does.
void UseOwnAccessibleText(QLineEdit* box);

}  // namespace kelt

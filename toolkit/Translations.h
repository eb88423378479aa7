// Qt's own texts in German: the text boxes' context menus, the OK of a message box and the
// like, whatever language the user's settings name, since the whole program speaks German.
#pragma once

class QCoreApplication;

namespace toolkit {

class Translations {
public:
    // Loads Qt's German catalogue into the application; false when it is not installed (the
    // program then runs with Qt's English texts).
    static bool installGerman(QCoreApplication *application);
};

} // namespace toolkit

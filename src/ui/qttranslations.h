#pragma once
// Qt's own texts (file dialog, edit menus, standard buttons) in Japanese, like the program's.

// Installs Qt's Japanese translation into the running application, once; false when it is
// not installed on this machine (Qt's texts then stay English).
bool LoadQtTranslations();

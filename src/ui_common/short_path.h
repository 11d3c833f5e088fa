// The short form of a file path, which the exports hand to outside programs. Paths need no
// 8.3 form here: an existing path is its own short form.
#pragma once

#include <QString>

// The path itself when it exists, else "".
QString Short_Path(const QString& path);

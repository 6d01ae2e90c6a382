#pragma once
// The program's built-in pictures and the icons of the data-maintenance and
// settings commands, compiled into the program:
//   :/images/splash.jpg  :/images/about.png  :/images/logo.png
//   :/maintenance/backup.svg  restore.svg  options.svg  about.svg

class QIcon;
class QString;

namespace Artwork {

// Registers the pictures (safe to call more than once).
void init();

QIcon icon(const QString& name); // "backup", "restore", "options", "about"

} // namespace Artwork

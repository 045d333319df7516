#pragma once

#include <QString>

// The eleven lines of program information: name, version and build time,
// purpose, authorship, warranty notice and contact.
QString programInfoText();

// "major.minor" with the minor number always two digits, so 0 and 90 read "0.90".
QString versionText(int major, int minor);

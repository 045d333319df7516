#pragma once

#include <QString>

// The eleven lines of program information: name, version and build time,
// purpose, authorship, warranty notice and contact.
QString programInfoText();

#pragma once

class QDir;

// Draws every picture of the user guide into the folder and names each file
// on standard output. Returns false, after saying why, when a picture could
// not be written.
bool writeGuidePictures(const QDir &folder);

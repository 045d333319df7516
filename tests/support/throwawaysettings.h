#pragma once

// Points the settings store at a folder that belongs to this test run alone,
// so that tests never read or write the user's settings nor each other's.
// Call before the first QSettings is created.
void useThrowAwaySettings();

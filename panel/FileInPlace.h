#pragma once
// Putting a finished file in the place of another in one step, so that
// whoever reads the target sees either the old file whole or the new one
// whole, never a part.

#include <string>

// Renames finished over target. A target that exists but cannot be written
// (read-only, a directory) stays as it is: a rename would replace a
// read-only file. Raises EFCreateError "Cannot replace <target>: <why>";
// finished is left where it was then.
void PutInPlace(const std::string& finished, const std::string& target);

// Removes the file when it is there and is not a directory; never raises.
void DiscardFile(const std::string& name);

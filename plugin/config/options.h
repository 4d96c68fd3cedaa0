// The options record and its file.
#pragma once

namespace kamoria {

void resetOptions();
void loadOptions();
void saveOptions();

}  // namespace kamoria

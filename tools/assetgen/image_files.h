// Writes every picture of the data folder.
#pragma once

#include <string>

void WriteImageFiles(const std::string& dataFolder);

#pragma once

#include <string_view>

namespace tandrel::line {

// One file of the live line page, built from src/line/page/ into the program
// so that the service needs no file at run time and downloads nothing.
struct PageFile {
    std::string_view path;  // as requested: "/", "/line.css", ...
    std::string_view type;
    std::string_view text;
};

// The page's file at path; null when there is none.
const PageFile* FindPageFile(std::string_view path);

}  // namespace tandrel::line

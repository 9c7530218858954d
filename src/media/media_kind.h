#pragma once
// Which files the scanner collects, by the extension of their name.
#include <string_view>

enum class MediaKind { Other, Photo, Music };

// A name longer than 3 characters with a "." is judged by the text after its last ".", folded
// to lower case as ASCII only, so that no locale changes the answer: jpg and bmp are photos,
// mp3, wma and mid music.
MediaKind ClassifyMediaFile(std::string_view name);

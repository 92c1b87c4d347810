// Errors of the graphics layer: an image that cannot be read as the format it claims.
#pragma once

#include <stdexcept>
#include <string>

class EInvalidGraphic : public std::runtime_error {
public:
    explicit EInvalidGraphic(const std::string& message) : std::runtime_error(message) {}
};

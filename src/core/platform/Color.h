#pragma once

namespace sentravex {

// A colour as red, green, blue and alpha components out of 255.
struct Color {
    double red = 0, green = 0, blue = 0, alpha = 255;

    static constexpr Color white(double level) {
        return {level * 255, level * 255, level * 255, 255};
    }
    friend constexpr bool operator==(const Color&, const Color&) = default;
};

namespace colors {
inline constexpr Color successGreen{67, 198, 89, 255};
inline constexpr Color alertRed{188, 60, 60, 255};
inline constexpr Color black = Color::white(0.0);
inline constexpr Color gray = Color::white(0.5);
} // namespace colors

} // namespace sentravex

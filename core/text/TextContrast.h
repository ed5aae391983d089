#pragma once

#include <QImage>

namespace vellumix {

// Turns every text of a screenshot into dark text on a light ground at full
// contrast, whatever its colours: white on a blue button, grey on a dark
// sidebar, green in a terminal.
//
// The screenshot is taken apart into flat areas (FlatAreas). Thick areas are
// grounds: windows, buttons, bubbles, selected rows. Everything else forms
// marks, connected groups of thin strokes and their anti-aliased edges, each
// lying on the ground it touches. A mark is read against its own ground
// along the colour direction from the ground to its inkiest pixel, so hue
// separates text as well as brightness does, and each ground's marks are
// raised to the contrast of its typical text. Grounds become white; marks
// that lie between two different grounds (the edge of a button, a border)
// become white too, so no seam is left where grounds meet. A photo, which has
// no flat areas to speak of, is only made grey.
namespace TextContrast {

struct Result {
    QImage image; // Format_Grayscale8, of the size of the source
    // The typical height of the text's marks in pixels, about the height of a
    // lowercase letter; 0 when there is no text.
    int textHeight = 0;
    // The same for the smaller text: a secondary line or a time stamp beside
    // large titles and body text; 0 when there is no text.
    int smallTextHeight = 0;
};

// `image` is in Format_RGB32.
Result darkOnLight(const QImage& image);

} // namespace TextContrast
} // namespace vellumix

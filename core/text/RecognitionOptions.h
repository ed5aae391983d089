#pragma once

namespace vellumix {

// How the engine splits the page into text lines.
enum class PageSegmentation {
    automatic,   // columns, blocks and paragraphs, in reading order
    sparseText,  // every piece of text found, each on its own
    singleBlock, // the page as one uniform block of text
};

// How recognition prepares the image and runs the engine. The defaults are the
// choices the accuracy benchmark (bench/text) found best on screenshots; the
// other values are there so that it can keep measuring them.
struct RecognitionOptions {
    PageSegmentation pageSegmentation = PageSegmentation::automatic;
    // Make every text dark on light at full contrast (TextContrast) before the
    // engine binarises; otherwise the image is only made grey.
    bool textContrast = true;
    // Enlarge the image by this factor, within the limits of RecognitionImage.
    int upscale = 2;
};

} // namespace vellumix

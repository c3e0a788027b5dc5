#pragma once

#include "scene/rgb.h"

#include <cstdint>
#include <optional>
#include <vector>

// The player's settings and colouring progress: plain data with lookup and
// update rules, read from the settings file at start-up and written at quit.
// Pages are known by their page id (1..15); regions by an element id unique
// within their page; paints by a 0-based number.

// One numbered paint and the colour it shows.
struct PaintColour {
    int32_t number = 0;
    Rgb colour;
};

// Free colouring: the colour a region was filled with.
struct ElementFill {
    int32_t elementId = 0;
    Rgb colour;
};

// Colour by numbers: the paint number a region was filled with.
struct ElementNumber {
    int32_t elementId = 0;
    int32_t number = 0;
};

// The play mode, stored as the two flags `numberMode` and `hardSet`. The
// fourth combination (free colouring on the hard set) is reachable from the
// settings menu and is handled like the other three.
enum class ColouringMode { numbers, numbersHard, free };

struct ProgressBook {
    bool showHelpAtStart = true;   // the help screen opens at start-up
    bool soundOn = true;           // sound effects play
    bool musicOn = true;           // music plays (read by the audio thread without a lock)
    bool numberMode = true;        // colour-by-numbers rules; false: free colouring
    bool hardSet = false;          // pages come from the hard set
    int32_t advertFollowed = 0;    // kept from file to file; nothing reads it
    int32_t elementCount = 0;      // counted elements of the page on screen; not stored
    int32_t languageIndex = 0;     // 0 en, 1 de, 2 es, 3 ru, 4 fr
    int32_t currentPage = -1;      // index into pageIds of the page on screen, -1 for none
    std::vector<int32_t> pageIds;  // in the order of their first visit
    // One entry per page id, parallel to pageIds.
    std::vector<std::vector<ElementFill>> freeFills;
    std::vector<std::vector<ElementFill>> freeFillsHard;
    std::vector<std::vector<ElementNumber>> numberFills;
    std::vector<std::vector<ElementNumber>> numberFillsHard;
    std::vector<std::vector<PaintColour>> pagePaints;        // set by the page builder; not stored
    std::vector<std::vector<PaintColour>> pageCustomPaints;  // changed by the player; stored
    std::vector<PaintColour> freePaints;        // set by the palette builder; not stored
    std::vector<PaintColour> freeCustomPaints;  // changed by the player; stored

    // A plain book holds the defaults above; resetSettings(false) also takes
    // the language from "lang.ini", as a first run does.
    void resetSettings(bool keepLoaded);

    ColouringMode colouringMode() const;
    void setColouringMode(ColouringMode mode);

    int32_t language() const { return languageIndex; }
    // Indices outside 0..4 become 0 (English).
    void setLanguage(int32_t index);
    // The archive that holds the captions in the current language.
    const char* languageArchive() const;

    // True while currentPage names an entry of pageIds.
    bool hasCurrentPage() const;
    // Makes the page current, appending it (with empty lists) on its first visit.
    void selectPage(int32_t pageId);
    // The current page's id, 0 when no page is current.
    int32_t currentPageId() const;
    void setElementCount(int32_t count) { elementCount = count; }

    // Set the colour of a paint in the current default or custom list,
    // replacing an entry with that number or appending one.
    void setDefaultPaint(int32_t number, Rgb colour);
    void setCustomPaint(int32_t number, Rgb colour);
    // The colour a paint shows now: custom first, then default; none when
    // neither list holds the number.
    std::optional<Rgb> paintColour(int32_t number) const;
    bool hasCustomPaints() const;
    void clearCustomPaints();

    // Records a fill in the current fill list: a paint number in colour by
    // numbers, a colour in free colouring, where exact white on a filled
    // element removes it (an undo back to unpainted).
    void fillElement(int32_t elementId, Rgb colour, int32_t number);
    bool isElementFilled(int32_t elementId) const;
    // The colour the element should show; white when it is not filled.
    Rgb elementColour(int32_t elementId) const;
    // Counts only: true when the current fill list holds elementCount entries.
    bool isPageComplete() const;
    bool isPageBlank() const;
    // Empties the current fill list; the page's other modes stay.
    void clearPage();
    // Empties every fill list of every page; pages, paints and settings stay.
    void clearAllPages();

    // The current page's list for the current mode, or null when no page is
    // current or the mode uses the other kind of list.
    std::vector<ElementNumber>* currentNumberFills();
    const std::vector<ElementNumber>* currentNumberFills() const;
    std::vector<ElementFill>* currentFreeFills();
    const std::vector<ElementFill>* currentFreeFills() const;
    // The current default and custom paint lists, or null in colour by
    // numbers while no page is current.
    std::vector<PaintColour>* currentDefaultPaints();
    const std::vector<PaintColour>* currentDefaultPaints() const;
    std::vector<PaintColour>* currentCustomPaints();
    const std::vector<PaintColour>* currentCustomPaints() const;
};

// Globals of the colouring game's progress.
extern ProgressBook* progressBook;  // from start-up to shutdown; the one book of the run

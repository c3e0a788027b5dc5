#pragma once

#include <cstdint>

// Which page a build makes: one procedure over the catalogue's tables serves
// all thirty pages.
struct PageChoice {
    int32_t pageId = 1;  // 1..15
    bool hard = false;   // from the hard set
};

// The page builders of both sets, by position 0..14 (page ids 1..15).
PageChoice standardBuilder(int32_t position);
PageChoice hardBuilder(int32_t position);

// Globals of the page catalogue.
extern int32_t paintCount;  // paints of the page on screen

// The run-once action of a page container (`currentNode`): i1 the page id,
// i2 non-zero for the hard set. Builds the regions, numbers and outlines and
// registers the page and its paints with the progress book.
void buildPage(void*);

// One region: pickable, drawn only once filled, easing to its colour.
void createElementNode(const char* archive, const char* key, int32_t elementId, int32_t number,
                       struct SceneNode* parent);

#include "game/page_builder.h"

#include "game/colouring.h"
#include "game/game_screen.h"
#include "game/page_catalogue.h"
#include "game/palette.h"
#include "game/progress_book.h"
#include "scene/draw_pass.h"
#include "scene/scene_node.h"

#include <string>

int32_t paintCount = 0;

PageChoice standardBuilder(int32_t position) {
    return {position + 1, false};
}

PageChoice hardBuilder(int32_t position) {
    return {position + 1, true};
}

void createElementNode(const char* archive, const char* key, int32_t elementId, int32_t number,
                       SceneNode* parent) {
    auto* node = new SceneNode;
    node->addDrawCallback(pickableCallback, 0);
    node->addModel(archive, key);
    // Unfilled regions are not drawn, so the paper behind shows, but they can be picked.
    if (!progressBook->isElementFilled(elementId))
        node->drawMeshes = false;
    node->setColour(0.8, 0.8, 0.8);
    node->states.addState();
    Action behaviour = makeAction(0);
    behaviour.setCallback(elementBehaviour, elementId, number, 0.0, 0.0, 0.0);
    node->states.addAction(behaviour);
    node->states.enterState(0);
    parent->addChild(node);
}

namespace {

void addOverlay(SceneNode* container, const std::string& archive) {
    auto* overlay = new SceneNode;
    if (progressBook->numberMode) {
        overlay->addModel(archive.c_str(), "list_nums");
    } else {
        overlay->addModel("interface.pak", "list_nums_nodigits");
    }
    overlay->addModel(archive.c_str(), "list_kontur");
    container->addChild(overlay);
}

}  // namespace

void buildPage(void*) {
    const PictureRecord* record = pictureRecord(currentAction->i1);
    if (record == nullptr)
        return;
    bool hard = currentAction->i2 != 0;
    SceneNode* container = currentNode;

    progressBook->selectPage(record->pageId);
    if (keepPaintOnRebuild) {
        keepPaintOnRebuild = false;
    } else {
        currentPaint = kWhite;
        noPaintSelected = true;
    }
    auto* group = new SceneNode;
    group->transform.setRotation(kPictureGroupRotation[0], kPictureGroupRotation[1],
                                 kPictureGroupRotation[2]);
    group->transform.setPosition(kPictureGroupPosition[0], kPictureGroupPosition[1],
                                 kPictureGroupPosition[2]);
    container->addChild(group);
    paintCount = record->paintCount;
    if (progressBook->numberMode) {
        for (int32_t paint = 0; paint < paintCount; ++paint) {
            progressBook->setDefaultPaint(paint, paintColour(*record, paint));
        }
    }
    progressBook->setElementCount(countedElements(*record, hard));

    std::string archive = pageArchiveName(record->pageId, hard);
    for (const PageRegion& region : pageRegions(*record, hard)) {
        createElementNode(archive.c_str(), region.key.c_str(), region.elementId, region.paintNumber,
                          group);
    }
    addOverlay(container, archive);
}

#include "game/progress_book.h"

#include "settings/languages.h"

#include <algorithm>

ProgressBook* progressBook = nullptr;

namespace {

// The first entry of a fill list for the element, or null (also for no list).
template <typename List>
auto firstWithElement(List* fills, int32_t elementId) -> decltype(fills->data()) {
    if (fills == nullptr)
        return nullptr;
    for (auto& entry : *fills) {
        if (entry.elementId == elementId)
            return &entry;
    }
    return nullptr;
}

// The first entry of a paint list with the number, or null (also for no list).
template <typename List>
auto firstWithNumber(List* paints, int32_t number) -> decltype(paints->data()) {
    if (paints == nullptr)
        return nullptr;
    for (auto& paint : *paints) {
        if (paint.number == number)
            return &paint;
    }
    return nullptr;
}

void setPaint(std::vector<PaintColour>* paints, int32_t number, Rgb colour) {
    if (paints == nullptr)
        return;
    if (PaintColour* paint = firstWithNumber(paints, number)) {
        paint->colour = colour;
    } else {
        paints->push_back({number, colour});
    }
}

}  // namespace

void ProgressBook::resetSettings(bool keepLoaded) {
    if (!keepLoaded) {
        languageIndex = languageFromIni(kLanguageIniName);
        showHelpAtStart = true;
        soundOn = true;
        musicOn = true;
        numberMode = true;
        hardSet = false;
    }
    advertFollowed = 0;
    currentPage = -1;
}

ColouringMode ProgressBook::colouringMode() const {
    if (!numberMode)
        return ColouringMode::free;
    return hardSet ? ColouringMode::numbersHard : ColouringMode::numbers;
}

void ProgressBook::setColouringMode(ColouringMode mode) {
    numberMode = mode != ColouringMode::free;
    hardSet = mode == ColouringMode::numbersHard;
}

void ProgressBook::setLanguage(int32_t index) {
    languageIndex = isLanguageIndex(index) ? index : 0;
}

const char* ProgressBook::languageArchive() const {
    return languageAt(languageIndex).archive;
}

void ProgressBook::selectPage(int32_t pageId) {
    auto found = std::find(pageIds.begin(), pageIds.end(), pageId);
    if (found != pageIds.end()) {
        currentPage = int32_t(found - pageIds.begin());
        return;
    }
    pageIds.push_back(pageId);
    freeFills.emplace_back();
    freeFillsHard.emplace_back();
    numberFills.emplace_back();
    numberFillsHard.emplace_back();
    pagePaints.emplace_back();
    pageCustomPaints.emplace_back();
    currentPage = int32_t(pageIds.size()) - 1;
}

bool ProgressBook::hasCurrentPage() const {
    return currentPage >= 0 && size_t(currentPage) < pageIds.size();
}

int32_t ProgressBook::currentPageId() const {
    return hasCurrentPage() ? pageIds[size_t(currentPage)] : 0;
}

std::vector<ElementNumber>* ProgressBook::currentNumberFills() {
    if (!hasCurrentPage() || !numberMode)
        return nullptr;
    return &(hardSet ? numberFillsHard : numberFills)[size_t(currentPage)];
}

const std::vector<ElementNumber>* ProgressBook::currentNumberFills() const {
    return const_cast<ProgressBook*>(this)->currentNumberFills();
}

std::vector<ElementFill>* ProgressBook::currentFreeFills() {
    if (!hasCurrentPage() || numberMode)
        return nullptr;
    return &(hardSet ? freeFillsHard : freeFills)[size_t(currentPage)];
}

const std::vector<ElementFill>* ProgressBook::currentFreeFills() const {
    return const_cast<ProgressBook*>(this)->currentFreeFills();
}

std::vector<PaintColour>* ProgressBook::currentDefaultPaints() {
    if (!numberMode)
        return &freePaints;
    return !hasCurrentPage() ? nullptr : &pagePaints[size_t(currentPage)];
}

const std::vector<PaintColour>* ProgressBook::currentDefaultPaints() const {
    return const_cast<ProgressBook*>(this)->currentDefaultPaints();
}

std::vector<PaintColour>* ProgressBook::currentCustomPaints() {
    if (!numberMode)
        return &freeCustomPaints;
    return !hasCurrentPage() ? nullptr : &pageCustomPaints[size_t(currentPage)];
}

const std::vector<PaintColour>* ProgressBook::currentCustomPaints() const {
    return const_cast<ProgressBook*>(this)->currentCustomPaints();
}

void ProgressBook::setDefaultPaint(int32_t number, Rgb colour) {
    setPaint(currentDefaultPaints(), number, colour);
}

void ProgressBook::setCustomPaint(int32_t number, Rgb colour) {
    setPaint(currentCustomPaints(), number, colour);
}

std::optional<Rgb> ProgressBook::paintColour(int32_t number) const {
    const PaintColour* paint = firstWithNumber(currentCustomPaints(), number);
    if (paint == nullptr)
        paint = firstWithNumber(currentDefaultPaints(), number);
    if (paint == nullptr)
        return std::nullopt;
    return paint->colour;
}

bool ProgressBook::hasCustomPaints() const {
    if (!hasCurrentPage())
        return false;
    const std::vector<PaintColour>* custom = currentCustomPaints();
    return custom != nullptr && !custom->empty();
}

void ProgressBook::clearCustomPaints() {
    if (std::vector<PaintColour>* custom = currentCustomPaints())
        custom->clear();
}

void ProgressBook::fillElement(int32_t elementId, Rgb colour, int32_t number) {
    if (std::vector<ElementNumber>* numbers = currentNumberFills()) {
        if (ElementNumber* entry = firstWithElement(numbers, elementId)) {
            entry->number = number;
        } else {
            numbers->push_back({elementId, number});
        }
    } else if (std::vector<ElementFill>* fills = currentFreeFills()) {
        ElementFill* entry = firstWithElement(fills, elementId);
        if (entry == nullptr) {
            fills->push_back({elementId, colour});  // white included: it counts as filled
        } else if (colour == kWhite) {
            fills->erase(fills->begin() + (entry - fills->data()));  // back to unpainted
        } else {
            entry->colour = colour;
        }
    }
}

bool ProgressBook::isElementFilled(int32_t elementId) const {
    return firstWithElement(currentNumberFills(), elementId) != nullptr ||
           firstWithElement(currentFreeFills(), elementId) != nullptr;
}

Rgb ProgressBook::elementColour(int32_t elementId) const {
    if (const ElementNumber* entry = firstWithElement(currentNumberFills(), elementId))
        return paintColour(entry->number).value_or(kWhite);
    if (const ElementFill* entry = firstWithElement(currentFreeFills(), elementId))
        return entry->colour;
    return kWhite;
}

bool ProgressBook::isPageComplete() const {
    if (!hasCurrentPage())
        return true;
    const auto* numbers = currentNumberFills();
    size_t filled = numbers != nullptr ? numbers->size() : currentFreeFills()->size();
    return elementCount >= 0 && filled == size_t(elementCount);
}

bool ProgressBook::isPageBlank() const {
    if (!hasCurrentPage())
        return true;
    const auto* numbers = currentNumberFills();
    return numbers != nullptr ? numbers->empty() : currentFreeFills()->empty();
}

void ProgressBook::clearPage() {
    if (auto* numbers = currentNumberFills())
        numbers->clear();
    if (auto* fills = currentFreeFills())
        fills->clear();
}

void ProgressBook::clearAllPages() {
    for (auto& fills : freeFills)
        fills.clear();
    for (auto& fills : freeFillsHard)
        fills.clear();
    for (auto& numbers : numberFills)
        numbers.clear();
    for (auto& numbers : numberFillsHard)
        numbers.clear();
}

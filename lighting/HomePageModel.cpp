// SPDX-License-Identifier: GPL-3.0-or-later
#include "lighting/HomePageModel.h"

namespace varnix {
namespace {

constexpr std::int64_t MsPerSecond = 1000;

const char* byCount(int count, const char* one, const char* many) {
    return count == 1 ? one : many;
}

} // namespace

std::int64_t intervalSeconds(std::int64_t intervalMs) {
    const std::int64_t seconds = (intervalMs + MsPerSecond / 2) / MsPerSecond;
    return seconds < 1 ? 1 : seconds;
}

std::vector<StatusText> statusLine(const SharedRunState& state) {
    using namespace homepage;
    if (state.writing)
        return {{byCount(state.connected, StatusWritingOne, StatusWriting),
                 {std::to_string(state.connected)}}};
    if (state.connected == 0)
        return {{StatusNoDevice, {}}};
    if (!state.applied)
        return {{StatusIdle, {}}};
    if (state.stopped)
        return {{StatusStopped, {}}};
    std::vector<StatusText> line;
    if (state.repeating && state.intervalMs)
        line.push_back(
            {byCount(state.written, StatusInStepOne, StatusInStep),
             {std::to_string(state.written), std::to_string(intervalSeconds(*state.intervalMs))}});
    else
        line.push_back(
            {byCount(state.written, StatusOnceOne, StatusOnce), {std::to_string(state.written)}});
    if (state.missed > 0)
        line.push_back({StatusMissed, {std::to_string(state.missed)}});
    return line;
}

std::string devicePicture(int connected, bool inStep) {
    const char* suffix = connected == 0 ? "_NULL.png" : inStep ? "_2.png" : "_1.png";
    return std::string(homepage::PictureFolder) + homepage::PictureName + suffix;
}

ViewRows devicePictureRows(int connected, bool inStep) {
    const std::string image = devicePicture(connected, inStep);
    return {{homepage::PictureControl, "normalimage", image},
            {homepage::PictureControl, "hotimage", image},
            {homepage::PictureControl, "pushedimage", image}};
}

HomePageModel::HomePageModel() : panel_(*LedPanel::fromPrefix(SharedLedPrefix)) {
    panel_.show(base_.asLedEffect());
}

Outcome HomePageModel::read(const std::filesystem::path& file) {
    SharedLighting lighting;
    const Outcome loaded = SharedLighting::load(file, lighting);
    if (!loaded)
        return loaded;
    base_ = lighting;
    panel_.show(lighting.asLedEffect());
    return loaded;
}

Outcome HomePageModel::load(const std::filesystem::path& resourceRoot) {
    root_ = resourceRoot;
    const Outcome loaded = read(root_ / sharedfile::ConfigFile);
    if (loaded.status == Status::Missing) {
        // A first start, or a file removed by hand: the factory effect until the user applies.
        if (const Outcome factory = cancel(); factory)
            return factory;
    }
    if (!loaded)
        return loaded.shown(messagekey::Tip, homepage::JsonWarn);
    return loaded;
}

Outcome HomePageModel::cancel() {
    const Outcome loaded = read(root_ / sharedfile::ResetFile);
    if (!loaded)
        return loaded.shown(messagekey::Tip, homepage::JsonWarn);
    return loaded;
}

SharedLighting HomePageModel::lighting() const {
    const LedEffect& effect = panel_.effect();
    SharedLighting lighting = base_;
    lighting.selectedSlot = effect.selectedSlot;
    lighting.mode = effect.mode;
    lighting.brightness = effect.brightness;
    lighting.speed = effect.speed;
    lighting.direction = effect.direction;
    lighting.slots = effect.slots;
    return lighting;
}

Outcome saveSharedLighting(const std::filesystem::path& resourceRoot,
                           const SharedLighting& lighting) {
    const Outcome saved = SharedLighting::save(resourceRoot / sharedfile::ConfigFile, lighting);
    if (!saved)
        return saved.shown(messagekey::Error, homepage::SaveErr);
    return saved;
}

} // namespace varnix

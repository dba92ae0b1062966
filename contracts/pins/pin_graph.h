// pin_graph.h - the components joined by stream connections, seen as a
// graph, so a pipeline whose connections form a loop can be refused before
// it runs: frames sent round a loop never end, and a loop nothing else feeds
// never receives any.
#pragma once

#include <string>
#include <vector>

#include "contracts/pins/pin.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// The published pins of `component` (its pin properties and the pins of its
/// pin lists) that carry a stream out: they send and are not state pins.
FC_COMPONENTS_API std::vector<TPMPin*> StreamSourcePinsOf(TComponent& component);

/// A loop of stream connections among `root` and the components it owns
/// (at any depth), in stream order with the first component repeated at the
/// end ("A", "B", "A"); empty when there is none. Only published pins are
/// followed; a state pin, which sends and receives, carries no stream.
FC_COMPONENTS_API std::vector<TComponent*> FindLoop(TComponent& root);

/// "A > B > A" for a loop as FindLoop gives it.
FC_COMPONENTS_API std::string LoopText(const std::vector<TComponent*>& loop);

}  // namespace fc

#include <AAX/AAX_CPacketDispatcher.h>

#include <AAX/AAX_IController.h>

#include <algorithm>

void AAX_CPacket::SetSize(uint32_t bytes) {
    const std::size_t cells = (bytes + sizeof(std::max_align_t) - 1) / sizeof(std::max_align_t);
    storage_.resize(std::max<std::size_t>(cells, 1));
    size_ = bytes;
}

struct AAX_CPacketDispatcher::Port {
    explicit Port(AAX_CFieldIndex index) : packet(index) {}

    AAX_CPacket packet;
    std::unique_ptr<AAX_IPacketHandler> handler;
    std::vector<std::string> parameters;
    bool dirty = true;
};

AAX_CPacketDispatcher::AAX_CPacketDispatcher() = default;
AAX_CPacketDispatcher::~AAX_CPacketDispatcher() = default;

void AAX_CPacketDispatcher::Initialize(AAX_IController* controller) {
    controller_ = controller;
}

AAX_Result AAX_CPacketDispatcher::RegisterPacket(AAX_CParamID parameter, AAX_CFieldIndex port,
                                                 const AAX_IPacketHandler& handler) {
    if (parameter == nullptr) {
        return AAX_ERROR_NULL_ARGUMENT;
    }
    auto found = std::find_if(ports_.begin(), ports_.end(),
                              [port](const auto& p) { return p->packet.GetID() == port; });
    if (found == ports_.end()) {
        ports_.push_back(std::make_unique<Port>(port));
        ports_.back()->handler.reset(handler.Clone());
        found = ports_.end() - 1;
    }
    (*found)->parameters.emplace_back(parameter);
    return AAX_SUCCESS;
}

AAX_Result AAX_CPacketDispatcher::SetDirty(AAX_CParamID parameter) {
    if (parameter == nullptr) {
        return AAX_ERROR_NULL_ARGUMENT;
    }
    for (const auto& port : ports_) {
        if (std::find(port->parameters.begin(), port->parameters.end(), parameter) !=
            port->parameters.end()) {
            port->dirty = true;
        }
    }
    return AAX_SUCCESS;
}

AAX_Result AAX_CPacketDispatcher::Dispatch() {
    AAX_Result first = AAX_SUCCESS;
    for (const auto& port : ports_) {
        if (!port->dirty) {
            continue;
        }
        port->dirty = false;
        AAX_Result result = port->handler->Call(port->packet);
        if (result == AAX_SUCCESS && controller_ != nullptr) {
            result = controller_->PostPacket(port->packet.GetID(), port->packet.GetPtr(),
                                             port->packet.GetSize());
        }
        if (first == AAX_SUCCESS) {
            first = result;
        }
    }
    return first;
}

#pragma once
// The packet dispatcher: how parameter values reach the process procedure. Parameters are
// registered with a data-in port; all parameters of one port share one packet. A parameter
// update marks its port's packet dirty, and Dispatch (the effect's GenerateCoefficients) asks
// the handler of each dirty packet to fill it and posts it to the host's port.
//
// Promises:
// - A packet's handler is the one given with the first parameter registered for its port
//   (later registrations for that port only add the parameter).
// - A packet starts dirty, so the first Dispatch after registration posts the initial values.
// - A handler that returns an error leaves the packet unposted and no longer dirty; the next
//   update of one of its parameters tries again.
// - AAX_CPacket data is aligned for any scalar type and as long as SetSize made it; resizing
//   allocates (main thread only).

#include <AAX/AAX.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

class AAX_IController;

class AAX_CPacket {
public:
    explicit AAX_CPacket(AAX_CFieldIndex port) : port_(port) {}

    AAX_CFieldIndex GetID() const { return port_; }
    void SetSize(uint32_t bytes);
    uint32_t GetSize() const { return size_; }
    void* GetPtr() { return storage_.data(); }
    template <typename Data> Data* GetPtr() { return static_cast<Data*>(GetPtr()); }

private:
    AAX_CFieldIndex port_;
    uint32_t size_ = 0;
    std::vector<std::max_align_t> storage_;
};

class AAX_IPacketHandler {
public:
    virtual ~AAX_IPacketHandler() = default;
    virtual AAX_IPacketHandler* Clone() const = 0;
    // [main thread] Fills the packet; AAX_SUCCESS to have it posted.
    virtual AAX_Result Call(AAX_CPacket& packet) const = 0;
};

// A handler that calls a member function of the plug-in object.
template <typename Owner> class AAX_CPacketHandler final : public AAX_IPacketHandler {
public:
    typedef AAX_Result (Owner::*Handler)(AAX_CPacket& packet);

    AAX_CPacketHandler(Owner* owner, Handler handler) : owner_(owner), handler_(handler) {}
    AAX_CPacketHandler* Clone() const override { return new AAX_CPacketHandler(*this); }
    AAX_Result Call(AAX_CPacket& packet) const override { return (owner_->*handler_)(packet); }

private:
    Owner* owner_;
    Handler handler_;
};

class AAX_CPacketDispatcher {
public:
    AAX_CPacketDispatcher();
    ~AAX_CPacketDispatcher();

    // [main thread] Where packets are posted (may be null: nothing is posted).
    void Initialize(AAX_IController* controller);

    // [main thread] Registers the parameter with the port's packet; the handler is cloned.
    AAX_Result RegisterPacket(AAX_CParamID parameter, AAX_CFieldIndex port,
                              const AAX_IPacketHandler& handler);
    // [main thread] Marks the packet of the parameter's port dirty; AAX_SUCCESS also for a
    // parameter that no packet carries (nothing to do).
    AAX_Result SetDirty(AAX_CParamID parameter);
    // [main thread] Fills and posts every dirty packet. The first error of a handler or of the
    // host's PostPacket is returned (the other packets are still dispatched).
    AAX_Result Dispatch();

private:
    struct Port;
    std::vector<std::unique_ptr<Port>> ports_;
    AAX_IController* controller_ = nullptr;
};

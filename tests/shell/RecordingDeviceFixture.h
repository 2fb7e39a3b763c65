#pragma once
// Puts Render::device on the recording backend for a test and takes it off again.

#include <gtest/gtest.h>

#include "platform/render/RecordingBackend.h"
#include "shell/RenderDevice.h"

// Puts Render::device on a fresh recording backend at 800x600; the recording device.
inline render_layer::RecordingDevice* StartRecordingDevice(bool pow2 = false) {
    auto* d3d = new render_layer::RecordingDirect3D();
    d3d->setup.caps.TextureCaps = pow2 ? D3DPTEXTURECAPS_POW2 : 0;
    Render::device.UseDirect3D(d3d);
    Render::device.CreateDevice(nullptr, false, 800, 600);
    return d3d->lastDevice;
}

class RecordingDeviceTest : public ::testing::Test {
protected:
    void SetUp() override { StartDevice(false); }
    void TearDown() override { Render::device.Release(); }

    void StartDevice(bool pow2) {
        recording = StartRecordingDevice(pow2);
        ASSERT_NE(nullptr, recording);
        ASSERT_EQ(pow2, Render::device._needPow2Textures);
    }

    render_layer::RecordingDevice* recording = nullptr;
};

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/XmlElement.h"
#include "shell/ImageLoader.h"
#include "shell/NativeTexture.h"
#include "shell/OldTexture.h"
#include "shell/PartialTexture.h"
#include "shell/TextureFactory.h"
#include "shell/TextureKinds.h"
#include "shell/TextureRegistry.h"
#include "tests/shell/ImageTestFiles.h"
#include "tests/shell/RecordingDeviceFixture.h"
#include "tests/support/TestSupport.h"

using image_test::Picture;
using testing_support::LogCapture;

namespace {

ObjectSmartPointer<XmlElement> Element(std::initializer_list<std::pair<const char*, std::string>> attributes) {
    ObjectSmartPointer<XmlElement> e(new XmlElement("texture"));
    for (const auto& a : attributes) e->SetStringAttribute(a.first, a.second);
    return e;
}

class TextureTest : public RecordingDeviceTest {
protected:
    void SetUp() override {
        RecordingDeviceTest::SetUp();
        ImageLoader::_preferJpegForm = false;
        NativeTextureLoader::ResetCounters();
        dir = testing_support::MakeTempDir("tex");
        // 100 x 50: alpha 200 everywhere, the pixel (x, y) from the bottom has red = x, green = y.
        Picture picture(100, 50);
        for (int y = 0; y < 50; ++y) {
            for (int x = 0; x < 100; ++x) picture.Set(x, 49 - y, (x << 24) | (y << 16) | 0x00C8);
        }
        image_test::WritePng(dir + "pic.png", picture);
        Picture small(3, 3);
        // Opaque where alpha >= 128: (0, 2) and (2, 2) from the bottom, i.e. the top row's ends.
        small.Set(0, 0, 0xFFFFFF80);
        small.Set(1, 0, 0xFFFFFF7F);
        small.Set(2, 0, 0xFFFFFFFF);
        image_test::WritePng(dir + "small.png", small);
        image_test::WritePng(dir + "one.png", Picture(1, 1, 0x10203040));
    }

    void UsePow2(bool pow2) {
        Render::device.Release();
        StartDevice(pow2);
    }

    // The device texture's pixel words, rows as locked (bottom row first).
    std::vector<std::uint32_t> TextureWords(IDirect3DTexture8* texture, int width, int height) {
        D3DLOCKED_RECT locked;
        EXPECT_EQ(D3D_OK, texture->LockRect(0, &locked, nullptr, D3DLOCK_READONLY));
        std::vector<std::uint32_t> words;
        for (int y = 0; y < height; ++y) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(static_cast<const char*>(locked.pBits) + y * locked.Pitch);
            words.insert(words.end(), row, row + width);
        }
        texture->UnlockRect(0);
        return words;
    }

    std::string dir;
};

}  // namespace

TEST_F(TextureTest, PowerOfTwoLoaderPadsAndScalesTextureCoordinates) {
    UsePow2(true);
    ObjectSmartPointer<Texture> texture =
        TextureFactory::Create(Element({{"upload", "refcount"}, {"storage", "memory-keeping"}, {"path", dir + "pic.png"}}));
    ASSERT_TRUE(texture.InstanceOf<ReferenceCountingTexture<Pow2NativeTexture>>());
    {
        UsingPointer<Texture> use{ObjectWeakPointer<Texture>(texture)};
        auto native = texture.Cast<NativeTexture>();
        const ObjectSmartPointer<NativeTextureLoader>& loader = native->GetLoader();
        ASSERT_TRUE(loader->HasTexture());
        EXPECT_EQ(32768, loader->GetTextureSize());
        float fx = 0, fy = 0;
        loader->GetFactors(fx, fy);
        EXPECT_FLOAT_EQ(0.78125f, fx);
        EXPECT_FLOAT_EQ(0.78125f, fy);
        const std::vector<std::uint32_t> words = TextureWords(loader->GetTexture(), 128, 64);
        EXPECT_EQ(0xC8050700u, words[7 * 128 + 5]);  // alpha 200, red 5, green 7
        bool paddingClear = true;
        for (int y = 0; y < 64; ++y) {
            for (int x = 0; x < 128; ++x) {
                if ((x >= 100 || y >= 50) && words[y * 128 + x] != 0) paddingClear = false;
            }
        }
        EXPECT_TRUE(paddingClear);

        recording->draws.clear();
        texture->Draw(Point(10, 20));
        ASSERT_EQ(1u, recording->draws.size());
        const auto& d = recording->draws[0];
        EXPECT_EQ(D3DPT_TRIANGLESTRIP, d.type);
        EXPECT_EQ(2u, d.primitiveCount);
        EXPECT_EQ(loader->GetTexture(), d.texture);
        const float expected[4][4] = {{10, 20, 0, 0}, {110, 20, 0.78125f, 0}, {10, 70, 0, 0.78125f}, {110, 70, 0.78125f, 0.78125f}};
        for (int i = 0; i < 4; ++i) {
            EXPECT_FLOAT_EQ(expected[i][0], d.vertices[i].x);
            EXPECT_FLOAT_EQ(expected[i][1], d.vertices[i].y);
            EXPECT_FLOAT_EQ(expected[i][2], d.vertices[i].u);
            EXPECT_FLOAT_EQ(expected[i][3], d.vertices[i].v);
        }
        // The stage is set in full and the texture unbound afterwards.
        EXPECT_EQ(D3DTADDRESS_CLAMP, d.stage0[D3DTSS_ADDRESSU]);
        EXPECT_EQ(D3DTEXF_LINEAR, d.stage0[D3DTSS_MAGFILTER]);
        EXPECT_EQ(D3DTOP_MODULATE, d.stage0[D3DTSS_COLOROP]);
        EXPECT_EQ(D3DTA_TEXTURE, d.stage0[D3DTSS_COLORARG1]);
        IDirect3DTexture8* bound = nullptr;
        recording->GetTexture(0, &bound);
        EXPECT_EQ(nullptr, bound);
    }
    EXPECT_EQ(0, NativeTextureLoader::GetCurrentLoaded());
}

TEST_F(TextureTest, IdentityLoaderKeepsThePictureSize) {
    ObjectSmartPointer<Texture> texture =
        TextureFactory::Create(Element({{"upload", "always"}, {"storage", "memory-reverse"}, {"path", dir + "pic.png"}}));
    ASSERT_TRUE(texture.InstanceOf<AlwaysLoadedTexture<AsIsNativeTexture>>());
    auto native = texture.Cast<NativeTexture>();
    EXPECT_EQ(20000, native->GetLoader()->GetTextureSize());
    EXPECT_EQ(20000, NativeTextureLoader::GetCurrentLoaded());
    recording->draws.clear();
    texture->Draw(Point(10, 20));
    ASSERT_EQ(1u, recording->draws.size());
    EXPECT_FLOAT_EQ(1.0f, recording->draws[0].vertices[3].u);
    EXPECT_FLOAT_EQ(1.0f, recording->draws[0].vertices[3].v);
    native = nullptr;
    texture = nullptr;
    EXPECT_EQ(0, NativeTextureLoader::GetCurrentLoaded());
    EXPECT_EQ(20000, NativeTextureLoader::GetMaxLoaded());
}

TEST_F(TextureTest, EveryStorageSurvivesLoadUnloadLoadWithAccountingBackToZero) {
    for (bool pow2 : {false, true}) {
        UsePow2(pow2);
        NativeTextureLoader::ResetCounters();
        for (const char* storage : {"memory-reverse", "memory-keeping", "disk-preload", "disk-onquery"}) {
            LogCapture capture;
            ObjectSmartPointer<Texture> texture =
                TextureFactory::Create(Element({{"upload", "refcount"}, {"storage", storage}, {"path", dir + "pic.png"}}));
            auto native = texture.Cast<NativeTexture>();
            std::vector<std::uint32_t> first;
            for (int cycle = 0; cycle < 2; ++cycle) {
                texture->AddReference();
                ASSERT_TRUE(native->GetLoader()->HasTexture()) << storage;
                EXPECT_EQ(pow2 ? 32768 : 20000, NativeTextureLoader::GetCurrentLoaded()) << storage;
                EXPECT_EQ(Rect(0, 0, 100, 50).width, texture->GetRectangle().width);
                const std::vector<std::uint32_t> words = TextureWords(native->GetLoader()->GetTexture(), 100, 50);
                if (cycle == 0) first = words;
                EXPECT_EQ(first, words) << storage;
                ObjectSmartPointer<NativeTextureMemoryStorage> memory;
                if (std::string(storage).rfind("memory", 0) == 0) memory = native->GetStorage().Cast<NativeTextureMemoryStorage>();
                if (std::string(storage) == "memory-reverse") {
                    EXPECT_TRUE(memory->GetData().empty());
                }
                if (std::string(storage) == "memory-keeping") {
                    EXPECT_EQ(20000u, memory->GetData().size());
                }
                texture->RemoveReference();
                EXPECT_FALSE(native->GetLoader()->HasTexture());
                EXPECT_EQ(0, NativeTextureLoader::GetCurrentLoaded()) << storage;
                if (memory != NULL) {
                    EXPECT_EQ(20000u, memory->GetData().size());
                }
            }
            EXPECT_EQ(0, capture.ErrorCount()) << storage << "\n" << capture.Text();
            // The on-query storage knows its size only while loaded.
            if (std::string(storage) == "disk-onquery") {
                LogCapture sizeCapture;
                texture->GetRectangle();
                EXPECT_TRUE(sizeCapture.Contains("Assertion failed: _width > 0"));
            }
        }
        EXPECT_EQ(pow2 ? 32768 : 20000, NativeTextureLoader::GetMaxLoaded());
    }
}

TEST_F(TextureTest, OpacityMapBitsAndLevels) {
    struct Case {
        int level;
        std::vector<bool> opaqueBottomUp;  // (0,0) (1,0) (2,0) ... (2,2)
    } cases[] = {
        {128, {false, false, false, false, false, false, true, false, true}},
        {0, {true, true, true, true, true, true, true, true, true}},
        {256, {false, false, false, false, false, false, false, false, false}},
    };
    for (const Case& c : cases) {
        ObjectSmartPointer<Texture> texture = TextureFactory::Create(Element(
            {{"upload", "always"}, {"storage", "memory-keeping"}, {"opacityLevel", std::to_string(c.level)}, {"path", dir + "small.png"}}));
        auto native = texture.Cast<NativeTexture>();
        EXPECT_EQ(2u, native->GetStorage()->GetOpacityMap().size());
        for (int i = 0; i < 9; ++i) {
            EXPECT_EQ(c.opaqueBottomUp[i], texture->IsPointOpaque(Point(i % 3, i / 3))) << c.level << " " << i;
            EXPECT_EQ(!c.opaqueBottomUp[i], texture->IsPointTransparent(Point(i % 3, i / 3)));
        }
        if (c.level == 128) {
            EXPECT_EQ(0x40, native->GetStorage()->GetOpacityMap()[0]);  // (0, 2) is bit 6 of byte 0
            EXPECT_EQ(0x01, native->GetStorage()->GetOpacityMap()[1]);  // (2, 2) is bit 0 of byte 1
        }
        EXPECT_FALSE(texture->IsPointOpaque(Point(3, 0)));
        EXPECT_FALSE(texture->IsPointTransparent(Point(3, 0)));
        EXPECT_FALSE(texture->IsPointTransparent(Point(-1, 0)));
    }
    LogCapture capture;
    ObjectSmartPointer<Texture> texture = TextureFactory::Create(
        Element({{"upload", "always"}, {"storage", "memory-keeping"}, {"opacityLevel", "257"}, {"path", dir + "small.png"}}));
    EXPECT_TRUE(capture.Contains("Assertion failed: 0 <= _opacityLevel && _opacityLevel <= 256"));
    EXPECT_EQ(257, texture.Cast<NativeTexture>()->GetStorage()->GetOpacityLevel());
}

TEST_F(TextureTest, FactoryTable) {
    struct Case {
        bool pow2;
        std::string kind, upload, filter, address, colorOp;
        const char* type;
        const char* failure;
    } cases[] = {
        {false, "", "refcount", "", "", "", "refcount-asis", nullptr},
        {true, "", "refcount", "", "", "", "refcount-pow2", nullptr},
        {false, "Native", "manual", "", "", "", "manual-asis", nullptr},
        {false, "native", "always", "point", "wrap", "add", "always-asis", nullptr},
        {false, "", "Always", "", "", "", "empty", "Assertion failed: false"},
        {false, "", "refcount", "Linear", "", "", "refcount-asis", "Assertion failed: false"},
        {false, "", "refcount", "nearest", "repeat", "noalpha", "refcount-asis", nullptr},
    };
    for (const Case& c : cases) {
        UsePow2(c.pow2);
        auto e = Element({{"upload", c.upload}, {"storage", "disk-preload"}, {"path", dir + "one.png"}, {"groups", "g"}});
        if (!c.kind.empty()) e->SetStringAttribute("kind", c.kind);
        if (!c.filter.empty()) e->SetStringAttribute("filter", c.filter);
        if (!c.address.empty()) e->SetStringAttribute("address", c.address);
        if (!c.colorOp.empty()) e->SetStringAttribute("colorOp", c.colorOp);
        LogCapture capture;
        ObjectSmartPointer<Texture> t = TextureFactory::Create(e);
        std::string type = "empty";
        if (t.InstanceOf<ReferenceCountingTexture<AsIsNativeTexture>>() && t != NULL) type = "refcount-asis";
        if (t.InstanceOf<ReferenceCountingTexture<Pow2NativeTexture>>() && t != NULL) type = "refcount-pow2";
        if (t.InstanceOf<GroupLoadingTexture<AsIsNativeTexture>>() && t != NULL) type = "manual-asis";
        if (t.InstanceOf<AlwaysLoadedTexture<AsIsNativeTexture>>() && t != NULL) type = "always-asis";
        EXPECT_EQ(c.type, type) << c.upload;
        if (c.failure) {
            EXPECT_TRUE(capture.Contains(c.failure)) << c.upload << c.filter;
        } else {
            EXPECT_EQ(0, capture.ErrorCount()) << c.upload << capture.Text();
        }
        if (t != NULL) {
            auto native = t.Cast<NativeTexture>();
            const bool point = c.filter == "point" || c.filter == "nearest";
            EXPECT_EQ(point, native->GetFilter().InstanceOf<NativeTexturePointFilter>() && native->GetFilter() != NULL);
            EXPECT_EQ(c.filter == "Linear", native->GetFilter() == NULL);
        }
    }
}

TEST_F(TextureTest, ClampAndWrapCheckTextureCoordinates) {
    ObjectSmartPointer<Texture> clamp =
        TextureFactory::Create(Element({{"upload", "always"}, {"storage", "memory-keeping"}, {"path", dir + "pic.png"}}));
    image_test::WritePng(dir + "tile.png", Picture(4, 4, 0xFFFFFFFF));
    ObjectSmartPointer<Texture> wrap = TextureFactory::Create(
        Element({{"upload", "always"}, {"address", "wrap"}, {"storage", "memory-keeping"}, {"path", dir + "tile.png"}}));
    LogCapture capture;
    clamp->Draw(Rect(0, 0, 10, 10), FRect(0, 1.0004f, 0, 1));
    EXPECT_EQ(0, capture.ErrorCount());
    wrap->Draw(Rect(0, 0, 10, 10), FRect(0, 4, 0, 4));
    EXPECT_EQ(0, capture.ErrorCount());
    recording->draws.clear();
    clamp->Draw(Rect(0, 0, 10, 10), FRect(0, 1.001f, 0, 1));
    EXPECT_TRUE(capture.Contains("Assertion failed: 0.0f <= u && u <= 1.0f + 1.0f / 2048"));
    EXPECT_EQ(1u, recording->draws.size());
    // A wrapping texture needs power-of-two sides.
    LogCapture sizeCapture;
    TextureFactory::Create(Element({{"upload", "always"}, {"address", "repeat"}, {"storage", "memory-keeping"}, {"path", dir + "pic.png"}}));
    EXPECT_TRUE(sizeCapture.Contains("Assertion failed: (_width & (_width - 1)) == 0"));
    EXPECT_TRUE(sizeCapture.Contains("Assertion failed: (_height & (_height - 1)) == 0"));
    // Silhouettes take their colour from the vertices.
    recording->draws.clear();
    clamp->DrawSilhouette(Point(0, 0));
    ASSERT_EQ(1u, recording->draws.size());
    EXPECT_EQ(D3DTA_DIFFUSE, recording->draws[0].stage0[D3DTSS_COLORARG1]);
    // GetInnerRectangle is only for extension textures.
    EXPECT_EQ(0, clamp->GetInnerRectangle().width);
    EXPECT_TRUE(capture.Contains("Assertion failed: false"));
}

TEST_F(TextureTest, PartialAndExtensionTexturesMapOntoTheirBase) {
    UsePow2(true);
    image_test::WritePng(dir + "base.png", Picture(128, 64, 0xFFFFFFFF));
    ObjectSmartPointer<Texture> base =
        TextureFactory::Create(Element({{"upload", "refcount"}, {"storage", "memory-keeping"}, {"path", dir + "base.png"}}));
    TextureRegistry::Register("base", base);
    auto partialElement = Element({{"kind", "partial"}, {"x", "10"}, {"y", "20"}, {"width", "30"}, {"height", "40"}, {"base", "base"}});
    ObjectSmartPointer<Texture> partial = TextureFactory::Create(partialElement);
    ASSERT_TRUE(partial.InstanceOf<PartialTexture>());
    auto partialCast = partial.Cast<PartialTexture>();
    auto baseNative = base.Cast<NativeTexture>();
    partial->AddReference();
    partial->AddReference();
    EXPECT_TRUE(baseNative->GetLoader()->HasTexture());
    const FRect mapped = partialCast->MapSource(FRect(0, 1, 0, 1));
    EXPECT_FLOAT_EQ(0.078125f, mapped.xStart);
    EXPECT_FLOAT_EQ(0.3125f, mapped.xEnd);
    EXPECT_FLOAT_EQ(0.3125f, mapped.yStart);
    EXPECT_FLOAT_EQ(0.9375f, mapped.yEnd);
    EXPECT_FALSE(partial->IsPointOpaque(Point(30, 0)));
    EXPECT_TRUE(partial->IsPointOpaque(Point(0, 0)));
    recording->draws.clear();
    partial->Draw(Point(5, 6));
    ASSERT_EQ(1u, recording->draws.size());
    EXPECT_FLOAT_EQ(35.0f, recording->draws[0].vertices[3].x);
    EXPECT_FLOAT_EQ(0.3125f, recording->draws[0].vertices[3].u);  // base factors are 1 for 128 x 64
    partial->RemoveReference();
    EXPECT_TRUE(baseNative->GetLoader()->HasTexture());
    partial->RemoveReference();
    EXPECT_FALSE(baseNative->GetLoader()->HasTexture());

    ObjectSmartPointer<Texture> extension(new TransparentExtensionTexture(base, Rect(8, 4, 32, 16), Rect(0, 0, 64, 64)));
    UsingPointer<Texture> use{ObjectWeakPointer<Texture>(extension)};
    EXPECT_TRUE(extension->IsPointTransparent(Point(0, 0)));
    EXPECT_FALSE(extension->IsPointTransparent(Point(64, 0)));
    EXPECT_FALSE(extension->IsPointTransparent(Point(8, 4)));
    EXPECT_TRUE(extension->IsPointOpaque(Point(8, 4)));
    EXPECT_EQ(8, extension->GetInnerRectangle().x);
    EXPECT_EQ(16, extension->GetInnerRectangle().height);
    LogCapture capture;
    extension->Draw(FRect(0, 1, 0, 1), FRect(0, 1, 0, 1));
    EXPECT_TRUE(capture.Contains("Assertion failed: false"));
    recording->draws.clear();
    extension->Draw(Point(100, 100));
    ASSERT_EQ(1u, recording->draws.size());
    EXPECT_FLOAT_EQ(108.0f, recording->draws[0].vertices[0].x);

    // An unknown base id is reported by the lookup.
    LogCapture missing;
    ObjectSmartPointer<Texture> orphan = TextureFactory::Create(
        Element({{"kind", "partial"}, {"x", "0"}, {"y", "0"}, {"width", "1"}, {"height", "1"}, {"base", "nope"}}));
    EXPECT_TRUE(missing.Contains("Texture 'nope' not found"));
    TextureRegistry::Clear();
}

TEST_F(TextureTest, GroupSequencesKeepUseCountsBalanced) {
    auto make = [&](const std::string& groups) {
        return TextureFactory::Create(
            Element({{"upload", "manual"}, {"storage", "disk-preload"}, {"path", dir + "one.png"}, {"groups", groups}}));
    };
    auto loaded = [](const ObjectSmartPointer<Texture>& t) {
        return t.Cast<NativeTexture>()->GetLoader()->HasTexture();
    };
    {
        ObjectSmartPointer<Texture> t = make("first;second");
        Texture::UploadGroup("first");
        EXPECT_TRUE(loaded(t));
        Texture::UploadGroup("second");
        Texture::ReleaseGroup("first");
        EXPECT_TRUE(loaded(t));
        Texture::ReleaseGroup("second");
        EXPECT_FALSE(loaded(t));

        // Repeated upload and release of a group not loaded: reported and ignored.
        LogCapture capture;
        Texture::UploadGroup("first");
        Texture::UploadGroup("first");
        EXPECT_TRUE(capture.Contains("Assertion failed: _loadedGroups.find(groupName) == _loadedGroups.end()"));
        Texture::ReleaseGroup("first");
        EXPECT_FALSE(loaded(t));
        Texture::ReleaseGroup("first");
        EXPECT_TRUE(capture.Contains("Assertion failed: _loadedGroups.find(groupName) != _loadedGroups.end()"));
        EXPECT_EQ(2, capture.ErrorCount());
        EXPECT_EQ(0, t.Cast<ReferenceCountingTexture<AsIsNativeTexture>>()->GetReferenceCount());
        t->AddReference();
        EXPECT_TRUE(loaded(t));
        t->RemoveReference();
    }
    EXPECT_FALSE(Texture::HasGroup("first"));
    {
        // Two members: the group goes when the last one does.
        ObjectSmartPointer<Texture> a = make("pair");
        ObjectSmartPointer<Texture> b = make("pair");
        EXPECT_EQ(2, Texture::GetGroupMemberCount("pair"));
        a = nullptr;
        EXPECT_EQ(1, Texture::GetGroupMemberCount("pair"));
        b = nullptr;
        EXPECT_FALSE(Texture::HasGroup("pair"));
    }
    {
        // Joining a loaded group takes a use; leaving it gives the use back.
        ObjectSmartPointer<Texture> early = make("live");
        Texture::UploadGroup("live");
        ObjectSmartPointer<Texture> late = make("live");
        EXPECT_TRUE(loaded(late));
        LogCapture capture;
        late = nullptr;  // dies while its group is loaded: no use left behind
        EXPECT_EQ(0, capture.ErrorCount()) << capture.Text();
        Texture::ReleaseGroup("live");
        EXPECT_FALSE(loaded(early));
        EXPECT_EQ(0, NativeTextureLoader::GetCurrentLoaded() - 0);
    }
    {
        LogCapture capture;
        ObjectSmartPointer<Texture> t = make("x;;y");
        EXPECT_EQ(1, capture.ErrorCount());
        EXPECT_TRUE(capture.Contains("Assertion failed: startPos < semiPos"));
        EXPECT_TRUE(Texture::HasGroup("x"));
        EXPECT_TRUE(Texture::HasGroup(""));
        EXPECT_TRUE(Texture::HasGroup("y"));
        t = nullptr;
        // The release reads the names again and fails the same check at its place: written once.
        EXPECT_EQ(1, capture.ErrorCount());
        EXPECT_FALSE(Texture::HasGroup(""));
    }
    LogCapture capture;
    Texture::UploadGroup("nobody");
    EXPECT_TRUE(capture.Contains("Assertion failed: _groupMembers.find(groupName) != _groupMembers.end()"));
    EXPECT_TRUE(Texture::IsGroupLoaded("nobody"));
    EXPECT_TRUE(Texture::HasGroup("nobody"));
    // A texture that joins a loaded group is loaded by it.
    ObjectSmartPointer<Texture> joiner = make("nobody");
    EXPECT_TRUE(loaded(joiner));
    Texture::ReleaseGroup("nobody");
    EXPECT_FALSE(Texture::IsGroupLoaded("nobody"));
    EXPECT_FALSE(loaded(joiner));
}

TEST_F(TextureTest, RectangleTexturePlacesThePictureAtTheOrigin) {
    for (bool pow2 : {true, false}) {
        UsePow2(pow2);
        RectangleTexture texture(true);
        texture.Load(dir + "pic.png");
        EXPECT_EQ(100, texture.GetImageRect().width);
        EXPECT_EQ(50, texture.GetImageRect().height);
        EXPECT_EQ(pow2 ? 128 : 100, texture.GetTextureRect().width);
        EXPECT_EQ(pow2 ? 64 : 50, texture.GetTextureRect().height);
        texture.Upload();
        ASSERT_NE(nullptr, texture._tex);
        texture.Bind();
        recording->draws.clear();
        texture.Draw(Point(10, 20));
        ASSERT_EQ(1u, recording->draws.size());
        EXPECT_FLOAT_EQ(pow2 ? 0.78125f : 1.0f, recording->draws[0].vertices[3].u);
        EXPECT_FLOAT_EQ(pow2 ? 0.78125f : 1.0f, recording->draws[0].vertices[3].v);
        EXPECT_EQ(13, texture._opacityMapStride);
        EXPECT_TRUE(texture.IsOpaqueInMap(99, 49));  // alpha 200
        texture.Release();
    }
    RectangleTexture info;
    info.LoadInfo(dir + "big.png");
    image_test::WritePng(dir + "big.png", Picture(300, 17));
    info.LoadInfo(dir + "big.png");
    EXPECT_EQ(512, info.GetTextureRect().width);
    EXPECT_EQ(32, info.GetTextureRect().height);

    // Alpha 127 is clear and 128 set at level 128.
    RectangleTexture small(true);
    small.Load(dir + "small.png");
    small.Upload();
    EXPECT_TRUE(small.IsOpaqueInMap(0, 2));
    EXPECT_FALSE(small.IsOpaqueInMap(1, 2));
    EXPECT_TRUE(small.IsOpaqueInMap(2, 2));
    unsigned char* firstMap = small._opacityMap;
    small.Release();
    small.Upload();
    EXPECT_EQ(firstMap, small._opacityMap);
    small.Release();

    // An old texture needs power-of-two sides.
    image_test::WritePng(dir + "odd.png", Picture(48, 64));
    OldTexture old;
    ImageLoader::Load(old.image, dir + "odd.png");
    LogCapture capture;
    old.Upload();
    EXPECT_TRUE(capture.Contains("Assertion failed: image.width > 0 && (image.width & (image.width - 1)) == 0"));
    EXPECT_FALSE(capture.Contains("image.height > 0"));
    old.Release();
}

TEST_F(TextureTest, UsesDecideLoadingAndThePeakIsLogged) {
    ObjectSmartPointer<Texture> texture =
        TextureFactory::Create(Element({{"upload", "refcount"}, {"storage", "disk-preload"}, {"path", dir + "pic.png"}}));
    auto native = texture.Cast<NativeTexture>();
    EXPECT_EQ(100, texture->GetRectangle().width);  // known from the header before any load
    EXPECT_FALSE(native->GetLoader()->HasTexture());
    {
        UsingPointer<Texture> first{ObjectWeakPointer<Texture>(texture)};
        const int created = static_cast<int>(recording->calls.size());
        UsingPointer<Texture> second{ObjectWeakPointer<Texture>(texture)};
        EXPECT_EQ(created, static_cast<int>(recording->calls.size()));  // no second upload
        first = UsingPointer<Texture>();
        EXPECT_TRUE(native->GetLoader()->HasTexture());
    }
    EXPECT_FALSE(native->GetLoader()->HasTexture());
    // A use given back twice is reported and the count stays at zero.
    LogCapture capture;
    texture->RemoveReference();
    EXPECT_TRUE(capture.Contains("Assertion failed: _referenceCount > 0"));
    texture->AddReference();
    EXPECT_TRUE(native->GetLoader()->HasTexture());
    texture->RemoveReference();
    NativeTextureLoader::ReportMaxVideoMemory();
    EXPECT_TRUE(capture.Contains("Max video memory usage: 20000"));
    EXPECT_EQ(1, capture.ErrorCount());
}

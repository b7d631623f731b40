// Lists and events as the reveal builds them.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/aedesc.h"
#include "platform/appleevents.h"
#include "platform/faults.h"
#include "platform/memory.h"
#include "platform/process.h"

using platform::DescData;
using platform::descriptor_data;

namespace {

class AppleEvents : public ::testing::Test {
 protected:
  void TearDown() override {
    platform::clear_faults();
    EXPECT_EQ(platform::live_descriptor_count(), 0u);
    EXPECT_EQ(platform::live_handle_count(), 0u);
  }
  AEDesc text(const char* s) {
    AEDesc d;
    AECreateDesc(typeChar, s, static_cast<Size>(std::strlen(s)), &d);
    return d;
  }
  static std::string text_of(const platform::DescItem& item) {
    return std::string(item.bytes.begin(), item.bytes.end());
  }
};

TEST_F(AppleEvents, ListAppendsReplacesAndRefusesGaps) {
  AEDescList list;
  ASSERT_EQ(AECreateList(nullptr, 0, false, &list), noErr);
  EXPECT_EQ(list.descriptorType, typeAEList);
  AEDesc a = text("a"), b = text("b"), c = text("c");
  EXPECT_EQ(AEPutDesc(&list, 0, &a), noErr);
  EXPECT_EQ(AEPutDesc(&list, 2, &b), noErr);  // one past the end appends
  EXPECT_EQ(AEPutDesc(&list, 1, &c), noErr);  // replaces the first
  EXPECT_EQ(AEPutDesc(&list, 4, &a), errAEBadListItem);
  EXPECT_EQ(AEPutDesc(&list, -1, &a), errAEBadListItem);
  AEDisposeDesc(&a);  // the list holds copies
  const DescData* data = descriptor_data(list);
  ASSERT_EQ(data->items.size(), 2u);
  EXPECT_EQ(text_of(data->items[0]), "c");
  EXPECT_EQ(text_of(data->items[1]), "b");
  EXPECT_EQ(data->items[1].key, 0u);

  AERecord record;
  ASSERT_EQ(AECreateList(nullptr, 0, true, &record), noErr);
  EXPECT_EQ(record.descriptorType, typeAERecord);
  EXPECT_EQ(AEPutDesc(&record, 0, &b), errAEWrongDataType);
  EXPECT_EQ(AEPutDesc(&c, 0, &b), errAEWrongDataType);
  for (AEDesc* d : {&list, &record, &b, &c}) AEDisposeDesc(d);
}

TEST_F(AppleEvents, EventCarriesItsAttributesAndParameters) {
  ProcessSerialNumber psn{0x12345678, 0x9ABCDEF0};
  AEAddressDesc address;
  AECreateDesc(typeProcessSerialNumber, &psn, sizeof psn, &address);
  AppleEvent first, second;
  ASSERT_EQ(AECreateAppleEvent(kAEMiscStandards, kAEMakeObjectsVisible, &address,
                               kAutoGenerateReturnID, kAnyTransactionID, &first),
            noErr);
  ASSERT_EQ(AECreateAppleEvent(kAEMiscStandards, kAEMakeObjectsVisible, &address,
                               kAutoGenerateReturnID, 77, &second),
            noErr);
  AEDisposeDesc(&address);  // the event keeps its own copy

  const DescData* data = descriptor_data(first);
  EXPECT_EQ(first.descriptorType, typeAppleEvent);
  auto attribute = [&](const DescData* d, AEKeyword key) {
    return platform::find_item(d->attributes, key);
  };
  EXPECT_EQ(text_of(*attribute(data, keyEventClassAttr)), "misc");
  EXPECT_EQ(text_of(*attribute(data, keyEventIDAttr)), "mvis");
  const platform::DescItem* addr = attribute(data, keyAddressAttr);
  EXPECT_EQ(addr->type, typeProcessSerialNumber);
  ASSERT_EQ(addr->bytes.size(), 8u);
  EXPECT_EQ(std::memcmp(addr->bytes.data(), &psn, 8), 0);
  AEReturnID id1, id2;
  std::memcpy(&id1, attribute(data, keyReturnIDAttr)->bytes.data(), 2);
  std::memcpy(&id2, attribute(descriptor_data(second), keyReturnIDAttr)->bytes.data(), 2);
  EXPECT_GT(id1, 0);
  EXPECT_NE(id1, id2);
  AETransactionID tran;
  std::memcpy(&tran, attribute(descriptor_data(second), keyTransactionIDAttr)->bytes.data(), 4);
  EXPECT_EQ(tran, 77);

  AEDesc a = text("a"), b = text("b");
  EXPECT_EQ(AEPutParamDesc(&first, keyDirectObject, &a), noErr);
  EXPECT_EQ(AEPutParamDesc(&first, keySelection, &a), noErr);
  EXPECT_EQ(AEPutParamDesc(&first, keyDirectObject, &b), noErr);
  ASSERT_EQ(data->items.size(), 2u);
  EXPECT_EQ(text_of(*platform::find_item(data->items, keyDirectObject)), "b");
  EXPECT_EQ(AEPutParamDesc(&a, keyDirectObject, &b), errAEWrongDataType);
  for (AEDesc* d : {&first, &second, &a, &b}) AEDisposeDesc(d);
}

TEST_F(AppleEvents, InjectedFailureHitsTheNthCallOnce) {
  AEDesc event, a = text("a");
  AEAddressDesc address = text("x");
  AECreateAppleEvent(kAEMiscStandards, kAEMakeObjectsVisible, &address, -1, 0, &event);
  platform::inject_fault(platform::Fault::put_param_desc, 2, errAENotAEDesc);
  EXPECT_EQ(AEPutParamDesc(&event, keyDirectObject, &a), noErr);
  EXPECT_EQ(AEPutParamDesc(&event, keySelection, &a), errAENotAEDesc);
  EXPECT_EQ(AEPutParamDesc(&event, keySelection, &a), noErr);
  EXPECT_EQ(descriptor_data(event)->items.size(), 2u);

  platform::inject_fault(platform::Fault::create_desc, 1, memFullErr);
  AEDesc failed;
  EXPECT_EQ(AECreateDesc(typeChar, "x", 1, &failed), memFullErr);
  EXPECT_EQ(failed.dataHandle, nullptr);
  for (AEDesc* d : {&event, &a, &address}) AEDisposeDesc(d);
}

}  // namespace

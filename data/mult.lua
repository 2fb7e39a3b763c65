-- The layered animation of the demo: a fish swims across the box, turns round at each side and
-- swims back, bobbing up and down, while a bubble rises behind it.
-- The fish picture faces right; "left" is the same picture mirrored, shown while swimming left.

local SPEED = 60             -- units per second
local LEFT, RIGHT = 60, 240  -- where the fish turns (its centre)
local DEPTH = 125            -- the height it swims at
local BOB, TILT = 10, 8      -- up and down, nose up and down (degrees)

local time, heading = 0, 1

function AnimationReset()
  time, heading = 0, 1
end

function AnimationInit()
  local fish = Aquarium.fish
  fish.left:Do("WrapH")
  fish.right.x, fish.right.y = LEFT, DEPTH
  fish.left.x, fish.left.y = RIGHT, DEPTH
  fish.left.isVisible = false
  local bubble = Aquarium.water.bubble
  bubble.scale = 0.5
  bubble.x, bubble.y = 200, -20
end

function AnimationDo(dt)
  time = time + dt
  local fish = Aquarium.fish
  local shown, hidden = fish.right, fish.left
  if heading < 0 then
    shown, hidden = fish.left, fish.right
  end
  shown.x = shown.x + heading * SPEED * dt
  shown.y = DEPTH + BOB * math.sin(time * 2)
  shown.angle = heading * TILT * math.cos(time * 2)
  if (heading > 0 and shown.x >= RIGHT) or (heading < 0 and shown.x <= LEFT) then
    heading = -heading
    hidden.x, hidden.y, hidden.angle = shown.x, shown.y, -shown.angle
    shown.isVisible = false
    hidden.isVisible = true
  end

  local bubble = Aquarium.water.bubble
  bubble.y = bubble.y + 40 * dt
  bubble.x = 200 + 6 * math.sin(time * 3)
  if bubble.y > 270 then
    bubble.y = -20
  end
end

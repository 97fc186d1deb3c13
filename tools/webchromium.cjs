// Debian's Chromium, headless, as the page's test and figures drive it (playwright-core on
// NODE_PATH; it downloads no browser). `autoplay`: the sound rule, the browser's usual one
// ('document-user-activation-required') or none ('no-user-gesture-required', the default).
'use strict';
const { chromium } = require('playwright-core');

function launchChromium(autoplay = 'no-user-gesture-required') {
  return chromium.launch({
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
           `--autoplay-policy=${autoplay}`],
  });
}

module.exports = { launchChromium };
